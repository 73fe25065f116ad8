#include "helpdlg.h"

#include "dictionaryeditor.h"
#include "ui_helpdlg.h"

HelpDlg::HelpDlg(QWidget *parent) : QDialog(parent), ui(std::make_unique<Ui::HelpDlgClass>())
{
    ui->setupUi(this);
    // The form's title is its class name; a screen reader announces the window by this name instead.
    setAccessibleName(tr("Help"));
    // What the host adds (its own commands and their keys) follows the window's help as a paragraph of its own.
    const QString hostHelp = DictionaryEditor::hostHelp();
    if (!hostHelp.isEmpty())
        ui->plainTextEdit->setPlainText(ui->plainTextEdit->toPlainText() + QLatin1Char('\n') + hostHelp +
                                        QLatin1Char('\n'));
}

HelpDlg::~HelpDlg() = default;

void HelpDlg::on_OkButton_clicked()
{
    close();
}
