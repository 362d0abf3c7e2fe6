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
// and follows the newest row unless the user has scrolled up. It stands on
// its own, with no owner window, so that a window modal for the main window
// leaves it usable, and it never keeps the program running.
class Tprovoz : public QWidget {
    Q_OBJECT
public:
    static constexpr QSize kLeastUsableSize{480, 200};

    Tprovoz();
    ~Tprovoz() override;

    // Taps the line for as long as both live.
    void attach(SerialLine& line);
    // Beside `main` where that covers none of it, else clear of `controls`,
    // the part of `main` (in screen coordinates) that must stay visible.
    void placeBeside(const QWidget& main, const QRect& controls);
    // Where a window frame of `wanted` size, shrunk to no less than `least`,
    // goes on `screen`: beside `main`, else beside `controls`, on the side
    // with the most room; the screen's top left corner when neither has room.
    static QRect placement(const QRect& screen, const QRect& main, const QRect& controls, const QSize& wanted,
                           const QSize& least);

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
    int tableWidth() const;
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
