#pragma once

#include "traffic_model.h"
#include "traffic_recorder.h"

#include <QWidget>

#include <memory>

class QSortFilterProxyModel;
namespace Ui {
class Tprovoz;
}

// The bus traffic monitor "Provoz na sběrnici": every telegram the serial
// line sends or receives, with its meaning, and every reply that did not
// come. A modeless window; it records from its creation on, also while hidden,
// and follows the newest row unless the user has scrolled up.
class Tprovoz : public QWidget {
    Q_OBJECT
public:
    explicit Tprovoz(QWidget* parent = nullptr);
    ~Tprovoz() override;

    // Taps the line for as long as both live.
    void attach(SerialLine& line);
    // To the right of a window's frame, as far as the screen allows.
    void placeBeside(const QRect& frame);

    const TrafficModel& model() const { return m_model; }
    TrafficRecorder& recorder() { return m_recorder; }

    void tl_pauzaToggled(bool paused);
    void tl_smazatClick();
    void tl_kopirovatClick();
    void tl_ulozitClick();
    void ed_filtrChange(const QString& text);

protected:
    void changeEvent(QEvent* event) override;

private:
    void setUpTable();
    void rememberFollowing();
    void followNewest();
    void showRowCount();
    QStringList selectedLines() const;

    std::unique_ptr<Ui::Tprovoz> m_ui;
    TrafficModel m_model;
    TrafficRecorder m_recorder;
    QSortFilterProxyModel* m_filtered;
    bool m_following = true;
};
