#pragma once

#include <QDialog>
#include <QString>

#include <memory>
#include <vector>

namespace Ui {
class set_compare;
}

// The fields in which a parameter set file and the settings window differ:
// page, field, the file's value and the shown value; "Shodné" when none.
class SetCompareDialog : public QDialog {
    Q_OBJECT

public:
    struct Difference {
        QString page;
        QString field;
        QString fileValue;
        QString shownValue;
    };

    // `note` follows the result on a line of its own: what was not compared.
    SetCompareDialog(const QString& fileName, const std::vector<Difference>& differences,
                     const QString& note = {}, QWidget* parent = nullptr);
    ~SetCompareDialog() override;

private:
    std::unique_ptr<Ui::set_compare> m_ui;
};
