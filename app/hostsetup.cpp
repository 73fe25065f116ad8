#include "hostsetup.h"

#include <QApplication>
#include <QFontDatabase>

#include "dictionaryeditor.h"
#include "hostcommands.h"
#include "hostundo.h"

namespace {

// The forms were laid out in pixels for a narrow 8-point face; the first of these that is installed keeps
// every label, button and group title inside its widget.
const char *const narrowFamilies[] = {"DejaVu Sans Condensed", "Liberation Sans Narrow", "Liberation Sans", "Noto Sans",
                                      "DejaVu Sans"};
const int formPointSize = 8;
// The face the forms name for some of their widgets, a Windows alias that exists nowhere else.
const char formFamily[] = "MS Shell Dlg 2";

} // namespace

QFont HostSetup::font()
{
    QFont font = QApplication::font();
    const QStringList installed = QFontDatabase::families();
    for (const char *family : narrowFamilies) {
        if (installed.contains(QLatin1String(family))) {
            font.setFamily(QLatin1String(family));
            break;
        }
    }
    font.setPointSize(formPointSize);
    return font;
}

void HostSetup::apply()
{
    const QFont chosen = font();
    QFont::insertSubstitution(QLatin1String(formFamily), chosen.family());
    QApplication::setFont(chosen);
    DictionaryEditor::setExportEncoding(QStringConverter::Utf8);
    DictionaryEditor::setHostHelp(HostCommands::helpText() + QLatin1Char(' ') + HostUndo::helpText());
}
