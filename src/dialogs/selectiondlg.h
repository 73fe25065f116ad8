#pragma once

#include <QDialog>
#include <QStringList>
#include <memory>

namespace Ui {
class SelectionDlgClass;
}

/// The multiple-choice dialog of a usage: one check box per table row in two columns, the rows whose
/// codes are given checked, and on OK the codes of the checked rows in table order.
class SelectionDlg : public QDialog
{
    Q_OBJECT
public:
    explicit SelectionDlg(QWidget *parent = nullptr);
    ~SelectionDlg() override;

    /// One modal run titled title over the rows items. *selected holds the codes to check on entry and,
    /// after OK (true), the checked codes in table order; after Cancel (false) it is left alone.
    bool choose(const QString &title, const QStringList &items, QStringList *selected);
    /// Splits each row into the label shown and the code stored, in row order.
    void splitItems(const QStringList &items, QStringList *labels, QStringList *codes);

    QStringList verbPatternItems();
    QStringList nounComplementItems();
    QStringList adjectiveComplementItems();
    QStringList particleItems();
    QStringList prepositionItems();

    /// Stored complement codes of a verb to the codes of the verb table, and back after OK.
    void verbToTableCodes(QStringList *codes);
    void verbToEngineCodes(QStringList *codes);
    /// Noun complements are stored as the table has them: these leave the list alone.
    void nounToTableCodes(QStringList *codes);
    void nounToEngineCodes(QStringList *codes);

public slots:
    void on_clearButton_clicked();
    void on_cancelButton_clicked();
    void on_OKButton_clicked();

private:
    std::unique_ptr<Ui::SelectionDlgClass> ui;
};
