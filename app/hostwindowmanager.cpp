#include "hostwindowmanager.h"

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QStandardPaths>
#include <QTimer>

#include "dictionaryeditor.h"
#include "hostcommands.h"
#include "hostmessage.h"
#include "hostundo.h"
#include "predictiontestwindow.h"

namespace {

const int windowGap = 10;

} // namespace

HostWindowManager::HostWindowManager(QObject *parent) : QObject(parent) {}

HostWindowManager::~HostWindowManager()
{
    m_testWindows.clear();
    for (DictionaryEditor *window : m_windows) {
        window->disconnect(this);
        delete window;
    }
}

DictionaryEditor *HostWindowManager::addWindow(DictionaryReference dictionary, bool writable)
{
    DictionaryEditor *window =
        DictionaryEditor::createEditor(writable, QString(), dictionary, nullptr, Qt::WindowFlags(), true);
    connect(window, SIGNAL(Save_Dictionary(DictionaryReference)), this, SLOT(saveDictionary(DictionaryReference)));
    connect(window, SIGNAL(Test_Dictionary(DictionaryReference)), this, SLOT(testDictionary(DictionaryReference)));
    connect(window, &QDialog::finished, this, [this, window] { windowLeft(window); });
    new HostCommands(window, writable);
    if (writable)
        window->addHostActions((new HostUndo(window, dictionary))->actions());

    // The window sets its own height and top edge; the host only lines the windows up from the left.
    const QScreen *screen = QGuiApplication::primaryScreen();
    const QRect available = screen ? screen->availableGeometry() : QRect(0, 0, 1024, 768);
    int left = available.left() + windowGap;
    if (!m_windows.empty()) {
        const QWidget *previous = m_windows.back();
        left = previous->frameGeometry().right() + 1 + windowGap;
        if (left + window->width() > available.right())
            left = available.left() + windowGap;
    }
    window->move(left, window->y());

    m_windows.push_back(window);
    m_dictionaries.push_back(dictionary);
    return window;
}

void HostWindowManager::setTransferTo(DictionaryReference target)
{
    for (DictionaryEditor *window : m_windows)
        window->setTransferTo(target);
}

void HostWindowManager::showWindow(DictionaryEditor *window)
{
    window->show();
    window->raise();
}

void HostWindowManager::showAll()
{
    for (auto it = m_windows.rbegin(); it != m_windows.rend(); ++it)
        showWindow(*it);
    if (!m_windows.empty())
        m_windows.front()->activateWindow();
}

DictionaryEditor *HostWindowManager::windowOf(const DictionaryReference &d) const
{
    for (size_t i = 0; i < m_dictionaries.size(); ++i) {
        if (m_dictionaries[i] == d)
            return m_windows[i];
    }
    return nullptr;
}

PredictionTestWindow *HostWindowManager::testWindow(const DictionaryReference &d) const
{
    for (const auto &window : m_testWindows) {
        if (window->dictionary() == d)
            return window.get();
    }
    return nullptr;
}

void HostWindowManager::testDictionary(DictionaryReference d)
{
    if (d == 0)
        return;
    PredictionTestWindow *window = testWindow(d);
    if (!window) {
        m_testWindows.push_back(std::make_unique<PredictionTestWindow>(d));
        window = m_testWindows.back().get();
        // Beside the editor window that asked, when there is room on its right.
        if (const DictionaryEditor *editor = windowOf(d)) {
            const QScreen *screen = editor->screen();
            const QRect available = screen ? screen->availableGeometry() : QRect();
            QPoint place = editor->frameGeometry().topRight() + QPoint(windowGap, 0);
            if (available.isValid() && place.x() + window->width() > available.right())
                place.setX(qMax(available.left(), editor->x() - window->width() - windowGap));
            window->move(place);
        }
    }
    window->refresh();
    window->show();
    window->raise();
    window->activateWindow();
}

void HostWindowManager::saveDictionary(DictionaryReference d)
{
    if (d == 0)
        return;
    auto *window = qobject_cast<DictionaryEditor *>(sender());
    for (;;) {
        if (d->save() == 0)
            return;
        const QString reason = d->lastError();
        const QString text = tr("\"%1\" could not be saved.").arg(d.displayName());
        QMessageBox box(QMessageBox::Warning, tr("Lexora Editor"), text, QMessageBox::NoButton);
        box.setInformativeText(
            reason + QStringLiteral("\n\n") +
            tr("Your changes are kept in the editor. Try again once the problem is solved, or save a copy of the "
               "dictionary elsewhere."));
        QPushButton *tryAgain = box.addButton(tr("Try Again"), QMessageBox::AcceptRole);
        QPushButton *copy = box.addButton(tr("Save a Copy..."), QMessageBox::ActionRole);
        box.addButton(QMessageBox::Cancel);
        box.setDefaultButton(tryAgain);
        box.exec();
        if (box.clickedButton() == tryAgain)
            continue;
        if (box.clickedButton() == copy) {
            if (saveCopy(d))
                return;
            continue;
        }
        if (window)
            m_keepOpen.insert(window);
        return;
    }
}

bool HostWindowManager::saveCopy(DictionaryReference d)
{
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    const QString suggested = QDir(folder).filePath(tr("%1 copy.dict").arg(d.displayName()));
    // The engine never writes a copy over an existing file, and says so; the dialog need not ask first.
    const QString path = QFileDialog::getSaveFileName(nullptr, tr("Save a Copy of \"%1\"").arg(d.displayName()),
                                                      suggested, tr("Dictionaries (*.dict);;All Files (*)"), nullptr,
                                                      QFileDialog::DontConfirmOverwrite);
    if (path.isEmpty())
        return false;

    QString error;
    const bool copied = d->saveCopy(path, &error);
    if (!copied) {
        HostMessage::error(error);
        return false;
    }
    QMessageBox::information(nullptr, tr("Lexora Editor"),
                             tr("All the words of \"%1\", with your changes, were saved in \"%2\".")
                                 .arg(d.displayName(), QDir::toNativeSeparators(path)));
    return true;
}

void HostWindowManager::windowLeft(DictionaryEditor *window)
{
    if (m_keepOpen.remove(window)) {
        // The window was left after a save that failed and was given up: bring it back with the changes.
        QTimer::singleShot(0, window, [this, window] { showWindow(window); });
    } else {
        QTimer::singleShot(0, this, &HostWindowManager::quitIfNoWindowVisible);
    }
}

void HostWindowManager::quitIfNoWindowVisible()
{
    for (DictionaryEditor *window : m_windows) {
        if (window->isVisible())
            return;
    }
    QCoreApplication::quit();
}
