#pragma once

#include <QObject>
#include <QPointer>

#include <functional>
#include <vector>

class QWidget;

// Texts that code (not a Designer form) sets on widgets, kept in the chosen
// language: each is remembered with its Czech source text and set again,
// translated, when the language changes. The source texts are marked with
// QT_TR_NOOP in the class whose name is the context.
class TranslatedTexts {
public:
    explicit TranslatedTexts(const char* context) : m_context(context) {}

    // Sets `property` ("text", "toolTip", "accessibleName", "title", ...) of
    // `object` to the translation of `source`, now and at each change.
    template <class T> T* set(T* object, const char* property, const char* source)
    {
        remember(object, property, source);
        return object;
    }
    void retranslate() const;

private:
    struct Entry {
        QPointer<QObject> object;
        const char* property;
        const char* source;
    };
    void remember(QObject* object, const char* property, const char* source);
    void apply(const Entry& entry) const;
    QString translated(const char* source) const;

    const char* m_context;
    std::vector<Entry> m_entries;
};

// Runs a Designer form's retranslateUi without losing the values its edit
// fields show, which the form would set back to their designed texts.
void retranslateKeepingEdits(QWidget& window, const std::function<void()>& retranslateUi);
