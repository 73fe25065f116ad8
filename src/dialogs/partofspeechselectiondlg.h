#pragma once

#include <memory>

#include "radioselectiondlg.h"

namespace Ui {
class PartOfSpeechSelectionDlgClass;
}

/// Chooses the part of speech of a grammar code.
class PartOfSpeechSelectionDlg : public RadioSelectionDlg
{
    Q_OBJECT
public:
    explicit PartOfSpeechSelectionDlg(const QString &current, QWidget *parent = nullptr);
    ~PartOfSpeechSelectionDlg() override;

protected:
    QStringList codes() const override;

public slots:
    void on_buttonBox_accepted();
    void on_buttonBox_rejected();

private:
    std::unique_ptr<Ui::PartOfSpeechSelectionDlgClass> ui;
};
