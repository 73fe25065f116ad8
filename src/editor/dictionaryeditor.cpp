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
