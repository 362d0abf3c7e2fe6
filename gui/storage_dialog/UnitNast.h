#pragma once

#include <QDialog>

#include <limits>
#include <memory>

class QLineEdit;
namespace Ui {
class Tform_nastaveni;
}

// The storage settings dialog "Nastavení": how many points the chart keeps,
// the reading interval in seconds and the log interval in whole minutes.
// Only whole numbers from 0 up pass "OK".
class Tform_nastaveni : public QDialog {
    Q_OBJECT
public:
    // The log interval is kept in seconds: its minutes must fit them.
    static constexpr int kLargestMinutes = std::numeric_limits<int>::max() / 60;

    struct Values {
        int point_limit = 0;
        int chart_interval = 0;
        int file_minutes = 0;
    };

    explicit Tform_nastaveni(QWidget* parent = nullptr);
    ~Tform_nastaveni() override;

    void setValues(const Values& values);
    // Each edit's text as a number; the conversion error "'…' is not a valid
    // integer value" when it is not a whole number from 0 up.
    int pointLimit() const;
    int chartInterval() const;
    int fileMinutes() const;

    // Checks the three edits; closes with OK only when all of them pass.
    void tl_okClick();

protected:
    void changeEvent(QEvent* event) override;

private:
    [[nodiscard]] bool check(QLineEdit* edit, int largest);

    std::unique_ptr<Ui::Tform_nastaveni> m_ui;
};
