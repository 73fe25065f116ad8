#pragma once

#include <QObject>
#include <QPointer>
#include <QSet>
#include <memory>
#include <vector>

#include "prediction.h"

class DictionaryEditor;
class PredictionTestWindow;

/// The host's side of the editor windows: creates one window per dictionary with the host's commands,
/// places them side by side, saves a dictionary when a window asks for it, answers Test with a prediction
/// test window, and ends the application when the last editor window is hidden.
class HostWindowManager : public QObject
{
    Q_OBJECT
public:
    explicit HostWindowManager(QObject *parent = nullptr);
    ~HostWindowManager() override;

    /// Creates (without showing) an editor window on dictionary with the host's commands, to the right of
    /// the windows made before.
    DictionaryEditor *addWindow(DictionaryReference dictionary, bool writable);
    /// Puts every window in transfer mode, with target receiving the transferred words.
    void setTransferTo(DictionaryReference target);
    void showAll();
    /// Shows window again, on top.
    void showWindow(DictionaryEditor *window);

    const std::vector<DictionaryEditor *> &windows() const { return m_windows; }
    /// The test window opened for d, or null when none was asked for.
    PredictionTestWindow *testWindow(const DictionaryReference &d) const;

public slots:
    /// Saves d; when that fails, says why and offers to try again or to save a copy elsewhere.
    void saveDictionary(DictionaryReference d);
    /// Shows (making it the first time) the prediction test window of d.
    void testDictionary(DictionaryReference d);

private:
    /// Done, the close box or Escape hid window.
    void windowLeft(DictionaryEditor *window);
    bool saveCopy(DictionaryReference d);
    void quitIfNoWindowVisible();
    DictionaryEditor *windowOf(const DictionaryReference &d) const;

    std::vector<DictionaryEditor *> m_windows;
    std::vector<DictionaryReference> m_dictionaries;
    /// Windows whose save failed and was left: they come back when they hide, so that the changes still
    /// in the engine are not lost by the application ending.
    QSet<DictionaryEditor *> m_keepOpen;
    std::vector<std::unique_ptr<PredictionTestWindow>> m_testWindows;
};
