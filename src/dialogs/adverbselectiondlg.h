#pragma once

#include <QDialog>
#include <memory>

namespace Ui {
class AdverbSelectionDlgClass;
}

/// Offers the sentence positions an adverb may take as check boxes; the caller sets and reads the
/// boxes checkBox_1 to checkBox_8 by object name.
class AdverbSelectionDlg : public QDialog
{
    Q_OBJECT
public:
    explicit AdverbSelectionDlg(QWidget *parent = nullptr);
    ~AdverbSelectionDlg() override;

public slots:
    void on_buttonBox_accepted();
    void on_buttonBox_rejected();

private:
    std::unique_ptr<Ui::AdverbSelectionDlgClass> ui;
};
