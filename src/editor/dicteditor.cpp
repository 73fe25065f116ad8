#include "dicteditor.h"

#include <QAbstractItemModel>
#include <QApplication>
#include <QCloseEvent>
#include <QFileDialog>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLoggingCategory>
#include <QMessageBox>
#include <QSaveFile>
#include <QScreen>
#include <QStringEncoder>
#include <QToolBar>
#include <QToolButton>
#include <algorithm>

#include "changeconfirmationdlg.h"
#include "changedlg.h"
#include "editoraccessibility.h"
#include "grammarpopupuser.h"
#include "helpdlg.h"
#include "ourlineedit.h"
#include "ourlistwidget.h"
#include "ourtextbrowser.h"
#include "ui_changedlg.h"
#include "ui_dicteditor.h"
#include "wordorder.h"

namespace {

const int BottomMargin = 10;

// Typed text finds words by their letters, ignoring case and accents, as the dictionary orders them first.
bool beginsWith(const QString &word, const QString &text)
{
    return WordOrder::comparePrefix(word, text) == 0;
}

bool isInLetterOrder(const QStringList &words)
{
    for (qsizetype i = 1; i < words.size(); ++i) {
        if (WordOrder::compareLetters(words.at(i - 1), words.at(i)) > 0)
            return false;
    }
    return true;
}

// The window's slots for controls it does not have (Help, Test, Toolkit, the usage buttons) and the Qt 4
// signature of the filter slot match no signal by name, by design: hosts invoke them by name. Qt notes
// each of them while the form connects its slots; that note alone is left out, during the set-up only.
QLoggingCategory::CategoryFilter filterBeforeSetUp = nullptr;

void withoutByNameNotes(QLoggingCategory *category)
{
    if (filterBeforeSetUp)
        filterBeforeSetUp(category);
    if (qstrcmp(category->categoryName(), "qt.core.qmetaobject.connectslotsbyname") == 0)
        category->setEnabled(QtWarningMsg, false);
}

} // namespace

bool DictEditor::suppressTextChanged = false;
bool DictEditor::inTextChanged = false;

DictEditor::DictEditor(bool writable, QString word, DictionaryReference dictionary, QWidget *parent,
                       Qt::WindowFlags flags, bool saveByHost)
    : DictionaryEditor(parent, flags), ui(new Ui::DictEditor), currentWord(nullptr), saveByHost(saveByHost),
      writable(writable), grammarPopUp(nullptr), detailsPanel(nullptr)
{
    EditorAccessibility::install();
    filterBeforeSetUp = QLoggingCategory::installFilter(withoutByNameNotes);
    ui->setupUi(this);
    QLoggingCategory::installFilter(filterBeforeSetUp);
    // QComboBox has no text-carrying index signal any more: hand the slot the item's text (empty
    // when the combo is cleared) on every index change.
    connect(ui->FilterLIst, &QComboBox::currentIndexChanged, this, [this](int index) {
        on_FilterLIst_currentIndexChanged(index < 0 ? QString() : ui->FilterLIst->itemText(index));
    });
    // Anything that changes the list's items outside refill() makes the copy of its texts stale.
    QAbstractItemModel *listModel = ui->listWidget->model();
    const auto stale = [this] { listedWordsValid = false; };
    connect(listModel, &QAbstractItemModel::rowsInserted, this, stale);
    connect(listModel, &QAbstractItemModel::rowsRemoved, this, stale);
    connect(listModel, &QAbstractItemModel::rowsMoved, this, stale);
    connect(listModel, &QAbstractItemModel::modelReset, this, stale);
    connect(listModel, &QAbstractItemModel::layoutChanged, this, stale);
    connect(listModel, &QAbstractItemModel::dataChanged, this, stale);
    // The expanded window hides its details panel while the list has no current item; the list's first
    // current item (the first word of an empty dictionary, say) brings it back.
    connect(ui->listWidget, &QListWidget::currentItemChanged, this, [this](QListWidgetItem *current) {
        if (current && detailsPanel)
            ensureDetailsShown();
    });

    this->dictionary = dictionary;
    transferMode = false;

    QRect placed = geometry();
    placed.setHeight(QGuiApplication::primaryScreen()->availableGeometry().height() - 70);
    placed.moveTop(50);
    setGeometry(placed);

    if (advancedDetails())
        detailsPanel = new GrammarPopUp(dictionary, writable, this);
    else
        detailsPanel = grammarPopUp = new GrammarPopUpUser(dictionary, writable, this);
    // The advanced panel hands the adding and deleting of whole grammar codes to the window.
    connect(detailsPanel, &GrammarPopUp::codeDeletionRequested, this, [this](Word *word, int codeIndex) {
        currentWord = word;
        DeleteThisGCode(codeIndex);
    });
    connect(detailsPanel, &GrammarPopUp::codeAdditionRequested, this, &DictEditor::on_addGrammarButton_clicked);

    setMinimumWidth(width());
    setMaximumWidth(width());

    expandedRect.setWidth(width());
    expandedRect.setHeight(height());
    collapsedRect.setWidth(width());
    collapsedRect.setHeight(height());
    collapsedRect.setRight(ui->GrammarFrame->geometry().left());

    // The frame only marks where the details panel lies; it is named for readers that meet it.
    ui->GrammarFrame->setAccessibleName(tr("Word details area"));
    collapse(true);

    detailsPanel->setGeometry(detailsArea());

    connect(detailsPanel->textBrowser, SIGNAL(announceContextChange(bool, bool, bool, bool)), this,
            SLOT(adaptToContext(bool, bool, bool, bool)));
    connect(detailsPanel->textBrowser, SIGNAL(alertFocusGone()), this, SLOT(grammarFocusLost()));
    connect(ui->lineEdit, SIGNAL(userIsCursoring(int)), this, SLOT(scrollTheList(int)));
    connect(ui->lineEdit, SIGNAL(userIsTabbing()), this, SLOT(gottaTab()));
    connect(this, SIGNAL(textChanging(QString)), this, SLOT(gottaChange(QString)));

    installEventFilter(this);

    if (this->dictionary != 0) {
        refill(this->dictionary->wordList());

        if (word.isEmpty()) {
            const QStringList fresh = this->dictionary->wordList();
            if (!fresh.isEmpty())
                ui->lineEdit->setPlainText(fresh.first());
        } else {
            ui->lineEdit->setPlainText(word);
        }

        ui->debugwindow->setText(QString::number(this->dictionary->filteredWordCount()));

        syncWithWordBox();
        showWord(word, 1);

        ui->FilterLIst->clear();
        ui->FilterLIst->addItems(dictionary->selectionRules());
    }

    ui->lineEdit->setFocus();
    setWritable(writable);
    grammarMode = QStringLiteral("basic_grammar");
    updateWindowTitle();
}

DictEditor::~DictEditor()
{
    // The children go after this body; nothing they emit while going may reach the window.
    removeEventFilter(this);
    const auto children = findChildren<QObject *>();
    for (QObject *child : children)
        child->disconnect(this);
    delete detailsPanel;
    detailsPanel = grammarPopUp = nullptr;
}

// ---- Interface operations ----

void DictEditor::setWritable(bool writable)
{
    this->writable = writable;
    if (detailsPanel)
        detailsPanel->setWritable(writable);
    ui->AddWordButton->setEnabled(writable);
    ui->DeleteWordButton->setEnabled(writable);
    ui->changeButton->setEnabled(writable);
    ui->SaveButton->setEnabled(writable);
    ui->listWidget->setDictionary(dictionary, writable);
}

void DictEditor::setTransferTo(DictionaryReference target)
{
    transferMode = true;
    transferTarget = target;
    ui->AddWordButton->setText(QStringLiteral("Transfer"));
    ui->AddWordButton->setEnabled(false);
}

void DictEditor::refreshList()
{
    if (dictionary == 0)
        return;
    const int row = ui->listWidget->currentRow();
    dictionary->invalidateWordList();
    refill(dictionary->wordList());
    if (row >= 0)
        ui->listWidget->setCurrentRow(row);
    ui->debugwindow->setText(QString::number(dictionary->filteredWordCount()));
}

void DictEditor::updateWindowTitle()
{
    if (dictionary == 0)
        return;
    QString title = dictionary->displayName();
    if (Prediction::developmentMode()) {
        if (dictionary->isUK())
            title += QStringLiteral(" - British");
        else if (dictionary->isCanadian())
            title += QStringLiteral(" - Canadian");
        else
            title += QStringLiteral(" - American");
    }
    title += writable ? QStringLiteral("  Dictionary Editor") : QStringLiteral("  Dictionary Viewer (Read Only)");
    setWindowTitle(title);
}

void DictEditor::findWord(QString word)
{
    ui->lineEdit->setPlainText(word);
    syncWithWordBox();
    showWord(word, 1);
}

void DictEditor::collapse(bool collapsed)
{
    const QString text = ui->MoreLessButton->text();
    if ((collapsed && text.contains(QStringLiteral("Less"))) || (!collapsed && text.contains(QStringLiteral("More"))))
        on_MoreLessButton_clicked();
}

// ---- Word list and filters ----

void DictEditor::refill(const QStringList &words)
{
    ui->listWidget->clear();
    ui->listWidget->insertItems(0, words);
    listedWords = words;
    listedWordsValid = true;
    listedWordsSorted = isInLetterOrder(listedWords);
}

void DictEditor::clampRow(int row)
{
    row = std::max(0, std::min(row, ui->listWidget->count() - 1));
    ui->listWidget->setCurrentRow(row);
}

QListWidgetItem *DictEditor::firstItemStartingWith(const QString &text)
{
    if (!listedWordsValid) {
        const int count = ui->listWidget->count();
        listedWords.clear();
        listedWords.reserve(count);
        for (int row = 0; row < count; ++row)
            listedWords.append(ui->listWidget->item(row)->text());
        listedWordsValid = true;
        listedWordsSorted = isInLetterOrder(listedWords);
    }
    if (listedWordsSorted) {
        // In the order of letters the words beginning with text form one run, and its first word is the
        // first word not ordered before text.
        const auto found =
            std::lower_bound(listedWords.cbegin(), listedWords.cend(), text, [](const QString &word, const QString &t) {
                return WordOrder::comparePrefix(word, t) < 0;
            });
        if (found != listedWords.cend() && beginsWith(*found, text))
            return ui->listWidget->item(int(found - listedWords.cbegin()));
        return nullptr;
    }
    for (qsizetype row = 0; row < listedWords.size(); ++row) {
        if (beginsWith(listedWords.at(row), text))
            return ui->listWidget->item(int(row));
    }
    return nullptr;
}

void DictEditor::on_FilterLIst_currentIndexChanged(QString rule)
{
    if (dictionary == 0)
        return;
    dictionary->setSelectionRule(rule);
    ui->debugwindow->setText(QString::number(dictionary->filteredWordCount()));
    refill(dictionary->wordList());
    syncWithWordBox();
    ui->listWidget->setFocus();
}

void DictEditor::on_MaxFreq_valueChanged(int value)
{
    if (dictionary == 0)
        return;
    dictionary->setMaximumFreq(value);
    ui->debugwindow->setText(QString::number(dictionary->filteredWordCount()));
    refill(dictionary->wordList());
    syncWithWordBox();
    ui->MaxFreq->setFocus();
}

void DictEditor::on_MinFreq_valueChanged(int value)
{
    if (dictionary == 0)
        return;
    dictionary->setMinimumFreq(value);
    ui->debugwindow->setText(QString::number(dictionary->filteredWordCount()));
    refill(dictionary->wordList());
    syncWithWordBox();
    ui->MinFreq->setFocus();
}

void DictEditor::on_listWidget_itemSelectionChanged()
{
    if (ui->listWidget->count() == 0)
        return;
    if (QApplication::focusWidget() == ui->lineEdit)
        return;
    QListWidgetItem *item = ui->listWidget->currentItem();
    if (!item || dictionary == 0)
        return;
    const QString text = item->text();
    suppressTextChanged = true;
    ui->lineEdit->setPlainText(text);
    ui->lineEdit->selectAll();
    suppressTextChanged = false;
    currentWord = dictionary->findWord(text);
    const bool editable = currentWord && writable;
    ui->DeleteWordButton->setEnabled(editable);
    ui->changeButton->setEnabled(editable);
    showWord(text, 1);
}

void DictEditor::on_listWidget_clicked(QModelIndex)
{
    on_listWidget_itemSelectionChanged();
    if (writable)
        ui->DeleteWordButton->setEnabled(true);
}

void DictEditor::showWord(const QString &text, int scrollMode)
{
    Word *w = dictionary != 0 ? dictionary->findWord(text) : nullptr;
    if (!w && writable) {
        ui->AddWordButton->setEnabled(true);
        ui->AddWordButton->setText(QStringLiteral("Add"));
    } else if (transferMode) {
        ui->AddWordButton->setText(QStringLiteral("Transfer"));
    } else {
        ui->AddWordButton->setEnabled(false);
    }
    detailsPanel->displayWord(text, w, scrollMode);
}

// ---- Word box and keyboard ----

void DictEditor::syncWithWordBox()
{
    const QString text = ui->lineEdit->toPlainText();
    emit textChanging(text);
    if (dictionary == 0)
        return;
    if (dictionary->displayByLetterGroup() && dictionary->setLetterGroup(text))
        refill(dictionary->wordList());
    if (text.isEmpty())
        return;
    showWord(QString(), 1);
    ui->addGrammarButton->setEnabled(false);
    QListWidgetItem *item = firstItemStartingWith(text);
    if (item) {
        ui->listWidget->setCurrentItem(item);
        ui->listWidget->scrollToItem(item);
        if (item->text() == text)
            showWord(item->text(), 1);
    } else {
        showWord(QString(), 1);
    }
}

void DictEditor::on_lineEdit_textChanged()
{
    if (suppressTextChanged)
        return;
    if (inTextChanged)
        return;
    inTextChanged = true;
    QString text = ui->lineEdit->toPlainText();
    if (!text.isEmpty()) {
        const QChar lineFeed(0x0A);
        const QChar returnMark(0x13);
        if (text.contains(lineFeed) || text.contains(returnMark)) {
            text.remove(lineFeed);
            text.remove(returnMark);
            ui->lineEdit->setPlainText(text);
            if (writable)
                on_AddWordButton_clicked();
            ui->listWidget->setFocus();
            ui->lineEdit->repaint();
        } else {
            syncWithWordBox();
        }
    }
    inTextChanged = false;
}

void DictEditor::scrollTheList(int key)
{
    int row = ui->listWidget->currentRow();
    if (key == Qt::Key_Up) {
        if (row > 0)
            --row;
    } else if (key == Qt::Key_Down) {
        ++row;
    }
    QListWidgetItem *item = ui->listWidget->item(row);
    if (!item)
        return;
    ui->listWidget->setCurrentItem(item);
    ui->lineEdit->setPlainText(item->text());
    ui->lineEdit->selectAll();
    ui->lineEdit->repaint();
    ui->listWidget->setFocus();
}

void DictEditor::gottaTab() {}

void DictEditor::gottaChange(QString) {}

bool DictEditor::eventFilter(QObject *watched, QEvent *event)
{
    if (watched != this)
        return DictionaryEditor::eventFilter(watched, event);
    if (ui->lineEdit->hasFocus())
        return false;
    switch (event->type()) {
    case QEvent::InputMethod:
    case QEvent::KeyboardLayoutChange:
        ui->lineEdit->setFocus();
        QApplication::sendEvent(ui->lineEdit, event);
        return true;
    case QEvent::KeyPress:
    case QEvent::KeyRelease: {
        const int key = static_cast<QKeyEvent *>(event)->key();
        if (key == Qt::Key_Tab || key == Qt::Key_Up || key == Qt::Key_Down)
            return false;
        QWidget *focus = QApplication::focusWidget();
        if (focus && (focus == ui->MinFreq || focus == ui->MaxFreq)) {
            const bool digit = key >= Qt::Key_0 && key <= Qt::Key_9;
            if (digit || key == Qt::Key_Backspace || key == Qt::Key_Delete || key == Qt::Key_Left ||
                key == Qt::Key_Right)
                return false;
        }
        ui->lineEdit->setFocus();
        if (!QApplication::focusWidget())
            return true;
        if (event->type() == QEvent::KeyPress && (key == Qt::Key_Return || key == Qt::Key_Enter)) {
            if (!writable)
                return false;
            on_AddWordButton_clicked();
            ui->lineEdit->repaint();
            return true;
        }
        QApplication::sendEvent(ui->lineEdit, event);
        return false;
    }
    default:
        return DictionaryEditor::eventFilter(watched, event);
    }
}

// ---- Word commands ----

void DictEditor::on_AddWordButton_clicked()
{
    if (dictionary == 0)
        return;
    if (ui->lineEdit->toPlainText().isEmpty())
        return;
    if (transferMode && ui->AddWordButton->text() == QLatin1String("Transfer")) {
        if (!writable || !ui->listWidget->currentItem() || transferTarget == 0)
            return;
        const int row = ui->listWidget->currentRow();
        currentWord = dictionary->findWord(ui->listWidget->currentItem()->text());
        if (!currentWord)
            return;
        transferTarget->addWord(currentWord);
        currentWord->removeWord();
        currentWord = nullptr;
        refill(dictionary->wordList());
        clampRow(row);
        QListWidgetItem *current = ui->listWidget->currentItem();
        ui->lineEdit->setPlainText(current ? current->text() : QString());
        syncWithWordBox();
        emit DictionaryChanged();
        ui->listWidget->setFocus();
        return;
    }
    DictionaryReference::setEditPreferences(grammarMode);
    const QString text = ui->lineEdit->toPlainText().simplified();
    if (text.isEmpty())
        return;
    Word *added = dictionary->addWord(text, QStringLiteral("edit"));
    const QString shown = added ? added->text : QStringLiteral("???");
    refill(dictionary->wordList());
    ui->debugwindow->setText(QString::number(dictionary->filteredWordCount()));
    ui->lineEdit->setPlainText(shown);
    syncWithWordBox();
    emit DictionaryChanged();
    ui->listWidget->setFocus();
}

void DictEditor::on_DeleteWordButton_clicked()
{
    if (!writable || !ui->listWidget->currentItem() || dictionary == 0)
        return;
    currentWord = dictionary->findWord(ui->listWidget->currentItem()->text());
    if (!currentWord)
        return;
    const int row = ui->listWidget->currentRow();
    QMessageBox question(
        QMessageBox::NoIcon, QStringLiteral("Delete Word?"),
        QStringLiteral("Are you sure you want to remove \"%1\" from the dictionary?").arg(currentWord->text),
        QMessageBox::Ok | QMessageBox::Cancel, nullptr, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint);
    question.setDefaultButton(QMessageBox::Ok);
    if (question.exec() == QMessageBox::Ok) {
        currentWord->removeWord();
        currentWord = nullptr;
    }
    refill(dictionary->wordList());
    clampRow(row);
    ui->debugwindow->setText(QString::number(dictionary->filteredWordCount()));
    syncWithWordBox();
    emit DictionaryChanged();
    ui->listWidget->setFocus();
}

void DictEditor::on_changeButton_clicked()
{
    if (!writable || !ui->listWidget->currentItem() || dictionary == 0)
        return;
    currentWord = dictionary->findWord(ui->listWidget->currentItem()->text());
    if (!currentWord)
        return;
    ChangeDlg dialog(this, currentWord->text);
    if (dialog.exec() != QDialog::Accepted)
        return;
    const QString spelling = dialog.ui->newBox->text();
    currentWord->changeSpelling(spelling);
    refill(dictionary->wordList());
    ui->lineEdit->setPlainText(spelling);
    syncWithWordBox();
    ui->listWidget->setFocus();
}

// ---- Grammar codes and usages ----

bool DictEditor::lookUpCurrentWord()
{
    if (!writable || dictionary == 0)
        return false;
    QListWidgetItem *item = ui->listWidget->currentItem();
    if (!item)
        return false;
    currentWord = dictionary->findWord(item->text());
    return currentWord != nullptr;
}

void DictEditor::adaptToContext(bool addCode, bool codeHere, bool, bool)
{
    if (!lookUpCurrentWord())
        return;
    ui->addGrammarButton->setEnabled(addCode);
    ui->DeleteGrammarButton->setEnabled(codeHere);
}

void DictEditor::grammarFocusLost()
{
    if (!writable)
        return;
    ui->addGrammarButton->setEnabled(false);
    ui->DeleteGrammarButton->setEnabled(false);
}

void DictEditor::on_addGrammarButton_clicked()
{
    if (!lookUpCurrentWord())
        return;
    currentWord->addGCode();
    const int n = int(currentWord->codes.size()) - 1;
    if (n > 0)
        currentWord->codes.at(n)->setFrequency(QString(currentWord->codes.at(n - 1)->frequency));
    showWord(QString(currentWord->text), 0);
    ensureDetailsShown();
}

void DictEditor::on_DeleteGrammarButton_clicked()
{
    if (!lookUpCurrentWord())
        return;
    TextRegion *region = detailsPanel->textBrowser->currentRegion;
    if (!region)
        return;
    DeleteThisGCode(region->codeIndex);
}

void DictEditor::DeleteThisGCode(int ix)
{
    if (!currentWord || ix < 0 || ix >= currentWord->codes.size())
        return;
    if (currentWord->codes.size() == 1) {
        on_DeleteWordButton_clicked();
        return;
    }
    const QString name = currentWord->codes.at(ix)->partOfSpeech;
    const QString text = name == QLatin1String("new")
                             ? QStringLiteral("Are you sure you want to remove new entry?")
                             : QStringLiteral("Are you sure you want to remove this %1?").arg(name);
    QMessageBox question(QMessageBox::NoIcon, QStringLiteral("Delete Grammar Code?"), text,
                         QMessageBox::Ok | QMessageBox::Cancel, nullptr);
    question.setDefaultButton(QMessageBox::Ok);
    if (question.exec() != QMessageBox::Ok)
        return;
    currentWord->removeGCode(short(ix));
    showWord(QString(currentWord->text), 1);
    ensureDetailsShown();
}

void DictEditor::on_addUsageButton_clicked()
{
    if (!lookUpCurrentWord())
        return;
    TextRegion *region = detailsPanel->textBrowser->currentRegion;
    if (!region)
        return;
    currentWord->addUse(short(region->codeIndex));
    showWord(QString(currentWord->text), -1);
    detailsPanel->setFocus();
}

void DictEditor::on_deleteUsageButton_clicked()
{
    if (!lookUpCurrentWord())
        return;
    TextRegion *region = detailsPanel->textBrowser->currentRegion;
    if (!region)
        return;
    const int codeIndex = region->codeIndex;
    const int usageIndex = region->usageIndex;
    if (!GrammarPopUp::confirmUsageDeletion())
        return;
    currentWord->removeUse(short(codeIndex), short(usageIndex));
    showWord(QString(currentWord->text), 1);
}

void DictEditor::on_BasicGrammarButton_clicked()
{
    grammarMode = QStringLiteral("basic_grammar");
}

void DictEditor::on_AdvancedGrammarButton_clicked()
{
    grammarMode = QStringLiteral("advanced_grammar");
}

void DictEditor::ensureDetailsShown()
{
    if (detailsPanel->isHidden() && ui->listWidget->currentItem() && ui->GrammarFrame->isVisibleTo(this)) {
        detailsPanel->setGeometry(detailsArea());
        detailsPanel->show();
    }
}

// ---- Saving, testing and closing ----

void DictEditor::on_ToolkitButton_clicked()
{
    emit UserWantsToolkit(dictionary);
}

void DictEditor::on_TestButton_clicked(bool)
{
    emit Test_Dictionary(dictionary);
}

void DictEditor::saveSteps()
{
    if (saveByHost) {
        emit Save_Dictionary(dictionary);
        if (transferMode)
            emit Save_Dictionary(transferTarget);
        emit DictionaryChanged();
        return;
    }
    if (dictionary != 0)
        dictionary->save();
    if (transferMode && transferTarget != 0)
        transferTarget->save();
}

void DictEditor::on_SaveButton_clicked(bool)
{
    saveSteps();
}

void DictEditor::on_DoneButton_clicked()
{
    leave();
}

bool DictEditor::leave()
{
    if (dictionary != 0 && dictionary.isDirty()) {
        ChangeConfirmationDlg confirmation;
        confirmation.setWindowTitle(QStringLiteral("Lexora Editor"));
        confirmation.setMessage(QStringLiteral("\"%1\" has changed.").arg(dictionary.displayName()));
        const int answer = confirmation.exec();
        if (answer == QMessageBox::Yes) {
            saveSteps();
        } else if (answer == QMessageBox::No) {
            dictionary.reload();
            if (transferMode && transferTarget != 0)
                transferTarget.reload();
        } else if (answer == QMessageBox::Cancel) {
            return false;
        }
    }
    accept();
    return true;
}

bool DictEditor::event(QEvent *event)
{
    if (event->type() == QEvent::ZOrderChange) {
        activateWindow();
        if (dictionary != 0)
            dictionary->begin_edit();
        emit EditWindow_Activate(DictionaryReference(dictionary));
    } else if (event->type() == QEvent::Close) {
        on_DoneButton_clicked();
        event->ignore();
    }
    return QWidget::event(event);
}

void DictEditor::closeEvent(QCloseEvent *event)
{
    emit EditWindow_Close(dictionary);
    event->ignore();
}

// ---- Export ----

void DictEditor::on_ExportWordButton_clicked()
{
    if (dictionary == 0)
        return;
    const QString text = dictionary->wordList().join(QStringLiteral("\r\n"));
    const QString defaultName = QCoreApplication::applicationDirPath() + QStringLiteral("/Text Files/") +
                                dictionary.displayName() + QStringLiteral(".txt");
    const QString fileName = QFileDialog::getSaveFileName(this, QStringLiteral("Save List of Words"), defaultName,
                                                          QStringLiteral("Text (*.txt)"));
    if (fileName.isEmpty())
        return;
    QSaveFile file(fileName);
    if (!file.open(QIODevice::WriteOnly))
        return;
    if (exportEncoding() == QStringConverter::Latin1) {
        file.write(text.toLatin1());
    } else {
        QStringEncoder encoder(exportEncoding());
        file.write(encoder.encode(text));
    }
    // The old file stays untouched when the new content cannot be stored.
    if (!file.commit())
        return;
    QMessageBox info(QMessageBox::Information, QStringLiteral("INFO"),
                     QStringLiteral("Text file %1 saved.").arg(fileName), QMessageBox::Ok, nullptr,
                     Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint);
    info.exec();
}

// ---- Presentation ----

void DictEditor::on_MoreLessButton_clicked()
{
    const QList<QWidget *> rightSide = {ui->groupBox_2,  ui->groupBox_3,       ui->groupBox_4,  ui->groupBox_5,
                                        ui->groupBox_15, ui->ExportWordButton, ui->GrammarFrame};
    const bool expand = ui->MoreLessButton->text().contains(QStringLiteral("More"));
    const int newWidth = expand ? expandedRect.width() : collapsedRect.right();
    ui->MoreLessButton->setText(expand ? QStringLiteral("<< Less") : QStringLiteral("More >>"));
    setMinimumWidth(newWidth);
    setMaximumWidth(newWidth);
    resize(newWidth, height());
    // What the collapsed window clips is hidden as well, so that neither Tab nor a screen reader reaches it.
    for (QWidget *widget : rightSide) {
        widget->setEnabled(expand);
        widget->setVisible(expand);
    }
    if (detailsPanel)
        detailsPanel->setVisible(expand && ui->listWidget->currentItem());
    announceMoreLess(expand);
}

void DictEditor::announceMoreLess(bool expanded)
{
    // The button's text is an arrow and a word; its accessible name says what pressing it does now.
    ui->MoreLessButton->setAccessibleName(expanded ? tr("Fewer details") : tr("More details"));
    ui->MoreLessButton->setAccessibleDescription(
        expanded ? tr("Expanded: the filters, the grammar commands and the word details panel are shown.")
                 : tr("Collapsed: shows the filters, the grammar commands and the word details panel."));
}

void DictEditor::on_BiggerButton_clicked()
{
    QFont font = ui->listWidget->font();
    font.setPointSize(font.pointSize() + 1);
    ui->listWidget->setFont(font);
    ui->lineEdit->setFont(font);
    detailsPanel->textBrowser->zoomIn();
    detailsPanel->WordNameBox->zoomIn();
}

void DictEditor::on_SmallerButton_clicked()
{
    QFont font = ui->listWidget->font();
    if (font.pointSize() - 1 != 0)
        font.setPointSize(font.pointSize() - 1);
    ui->listWidget->setFont(font);
    ui->lineEdit->setFont(font);
    detailsPanel->textBrowser->zoomOut();
    detailsPanel->WordNameBox->zoomOut();
}

QRect DictEditor::detailsArea() const
{
    return ui->GrammarFrame->geometry().translated(ui->centralWidget->pos());
}

void DictEditor::installHostActions(const QList<QAction *> &actions)
{
    addActions(actions);
    setContextMenuPolicy(Qt::ActionsContextMenu);
    if (!hostBar) {
        hostBar = new QToolBar(this);
        hostBar->setAccessibleName(tr("Commands"));
        hostBar->setToolButtonStyle(Qt::ToolButtonTextOnly);
        hostBar->setMovable(false);
    }
    hostBar->addActions(actions);
    // The button that opens the commands the bar has no room for has no text of its own.
    if (auto *overflow = hostBar->findChild<QToolButton *>(QStringLiteral("qt_toolbar_ext_button")))
        overflow->setAccessibleName(tr("More commands"));
    // The form keeps its geometry below the bar; the window keeps its height, so the list is shorter.
    hostBar->setGeometry(0, 0, width(), hostBar->sizeHint().height());
    ui->centralWidget->move(0, hostBar->height());
    hostBar->show();
    resizeEvent(nullptr);
}

void DictEditor::resizeEvent(QResizeEvent *)
{
    if (hostBar)
        hostBar->resize(width(), hostBar->height());
    const int bottom = height() - BottomMargin - ui->centralWidget->y();
    QRect frame = ui->GrammarFrame->geometry();
    frame.setBottom(bottom);
    ui->GrammarFrame->setGeometry(frame);
    QRect list = ui->listWidget->geometry();
    list.setBottom(bottom);
    ui->listWidget->setGeometry(list);
    if (detailsPanel)
        detailsPanel->setGeometry(detailsArea());
}

// ---- Help ----

void DictEditor::on_HelpButton_clicked()
{
    HelpDlg help;
    help.exec();
}
