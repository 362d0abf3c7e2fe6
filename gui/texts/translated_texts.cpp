#include "translated_texts.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QLabel>
#include <QLineEdit>

QString TranslatedTexts::translated(const char* source) const
{
    return QCoreApplication::translate(m_context, source);
}

void TranslatedTexts::remember(QObject* object, const char* property, const char* source)
{
    m_entries.push_back({object, property, source});
    apply(m_entries.back());
}

void TranslatedTexts::apply(const Entry& entry) const
{
    if (!entry.object)
        return;
    entry.object->setProperty(entry.property, translated(entry.source));
    // A label placed by hand keeps its text whole in either language.
    auto* label = qobject_cast<QLabel*>(entry.object.data());
    if (label && qstrcmp(entry.property, "text") == 0 && label->parentWidget() &&
        !label->parentWidget()->layout())
        label->adjustSize();
}

void TranslatedTexts::retranslate() const
{
    for (const Entry& entry : m_entries)
        apply(entry);
}

void retranslateKeepingEdits(QWidget& window, const std::function<void()>& retranslateUi)
{
    // An editable combo box's edit follows its item, whose text is translated.
    QList<QLineEdit*> edits = window.findChildren<QLineEdit*>();
    edits.removeIf([](const QLineEdit* edit) { return qobject_cast<QComboBox*>(edit->parentWidget()); });
    QStringList values;
    for (const QLineEdit* edit : edits)
        values.append(edit->text());
    retranslateUi();
    for (qsizetype i = 0; i < edits.size(); ++i)
        edits[i]->setText(values[i]);
}
