#include "set_compare_dialog.h"

#include "ui_set_compare_dialog.h"

#include <QDir>
#include <QHeaderView>

SetCompareDialog::SetCompareDialog(const QString& fileName, const std::vector<Difference>& differences,
                                   const QString& note, QWidget* parent)
    : QDialog(parent), m_ui(std::make_unique<Ui::set_compare>())
{
    m_ui->setupUi(this);
    m_ui->lb_soubor->setText(tr("Soubor: %1").arg(QDir::toNativeSeparators(fileName)));
    const QString result =
        differences.empty() ? tr("Shodné") : tr("Počet rozdílných polí: %1").arg(differences.size());
    m_ui->lb_vysledek->setText(note.isEmpty() ? result : result + u'\n' + note);
    QTableWidget* table = m_ui->str_rozdily;
    if (differences.empty()) {
        table->hide();
        adjustSize(); // the two lines alone
        return;
    }
    table->setRowCount(static_cast<int>(differences.size()));
    int row = 0;
    for (const Difference& d : differences) {
        int column = 0;
        for (const QString& text : {d.page, d.field, d.fileValue, d.shownValue})
            table->setItem(row, column++, new QTableWidgetItem(text));
        ++row;
    }
    table->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    table->horizontalHeader()->setSectionResizeMode(1, QHeaderView::Stretch);
    table->verticalHeader()->hide();
}

SetCompareDialog::~SetCompareDialog() = default;
