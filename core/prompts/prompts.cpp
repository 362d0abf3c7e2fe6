#include "prompts.h"

#include <QColor>

#include <cstdio>

namespace {

class StderrPrompts final : public Prompts {
public:
    Answer message(const QString& text, const QString& caption, Icon, Buttons buttons,
                   QWidget*) override
    {
        std::fprintf(stderr, "%s: %s\n", qUtf8Printable(caption), qUtf8Printable(text));
        return buttons == Buttons::YesNo ? Answer::No : Answer::Ok;
    }
    std::optional<QString> saveFileName(const SaveFileRequest&, QWidget*) override { return {}; }
    std::optional<QString> openFileName(const OpenFileRequest&, QWidget*) override { return {}; }
    std::optional<QColor> color(const QColor&, QWidget*) override { return {}; }
    bool printerSetup(QPrinter&, QWidget*) override { return false; }
};

StderrPrompts g_stderrPrompts;
Prompts* g_prompts = &g_stderrPrompts;

} // namespace

Prompts& prompts() { return *g_prompts; }

Prompts* installPrompts(Prompts* p)
{
    Prompts* previous = g_prompts;
    g_prompts = p ? p : &g_stderrPrompts;
    return previous;
}
