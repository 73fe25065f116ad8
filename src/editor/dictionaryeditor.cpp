#include "dictionaryeditor.h"

#include "dicteditor.h"

DictionaryEditor::DictionaryEditor(QWidget *parent, Qt::WindowFlags flags)
    : QDialog(parent, flags), transferMode(false), transferTarget()
{
}

DictionaryEditor::~DictionaryEditor() = default;

DictionaryEditor *DictionaryEditor::createEditor(bool writable, QString word, DictionaryReference dictionary,
                                                 QWidget *parent, Qt::WindowFlags flags, bool saveByHost)
{
    return new DictEditor(writable, word, dictionary, parent, flags, saveByHost);
}

bool DictionaryEditor::userModel()
{
    return true;
}

namespace {

QStringConverter::Encoding exportEncodingOfApplication = QStringConverter::Latin1;

bool advancedDetailsOfApplication = false;

QString &hostHelpText()
{
    static QString text;
    return text;
}

} // namespace

void DictionaryEditor::setExportEncoding(QStringConverter::Encoding encoding)
{
    exportEncodingOfApplication = encoding;
}

QStringConverter::Encoding DictionaryEditor::exportEncoding()
{
    return exportEncodingOfApplication;
}

void DictionaryEditor::setHostHelp(const QString &text)
{
    hostHelpText() = text;
}

QString DictionaryEditor::hostHelp()
{
    return hostHelpText();
}

void DictionaryEditor::setAdvancedDetails(bool on)
{
    advancedDetailsOfApplication = on;
}

bool DictionaryEditor::advancedDetails()
{
    return advancedDetailsOfApplication;
}

// Every window the factory makes is a DictEditor; another subclass has none of these commands.

void DictionaryEditor::save()
{
    if (auto *window = qobject_cast<DictEditor *>(this))
        window->saveSteps();
}

void DictionaryEditor::exportWords()
{
    if (auto *window = qobject_cast<DictEditor *>(this))
        window->on_ExportWordButton_clicked();
}

void DictionaryEditor::showHelp()
{
    if (auto *window = qobject_cast<DictEditor *>(this))
        window->on_HelpButton_clicked();
}

void DictionaryEditor::requestTest()
{
    if (auto *window = qobject_cast<DictEditor *>(this))
        window->on_TestButton_clicked(false);
}

void DictionaryEditor::changeFontSize(int steps)
{
    auto *window = qobject_cast<DictEditor *>(this);
    for (int step = 0; window && step < steps; ++step)
        window->on_BiggerButton_clicked();
    for (int step = 0; window && step < -steps; ++step)
        window->on_SmallerButton_clicked();
}

void DictionaryEditor::toggleMoreLess()
{
    if (auto *window = qobject_cast<DictEditor *>(this))
        window->on_MoreLessButton_clicked();
}

bool DictionaryEditor::requestDone()
{
    auto *window = qobject_cast<DictEditor *>(this);
    return window && window->leave();
}

void DictionaryEditor::addHostActions(const QList<QAction *> &actions)
{
    if (auto *window = qobject_cast<DictEditor *>(this))
        window->installHostActions(actions);
}

void DictionaryEditor::setWritable(bool) {}

void DictionaryEditor::setTransferTo(DictionaryReference) {}

void DictionaryEditor::refreshList() {}

void DictionaryEditor::updateWindowTitle() {}

void DictionaryEditor::findWord(QString) {}

void DictionaryEditor::collapse(bool) {}

bool DictionaryEditor::event(QEvent *)
{
    return false;
}

void DictionaryEditor::changeEvent(QEvent *) {}
