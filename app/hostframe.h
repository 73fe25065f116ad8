#pragma once

#include <QList>
#include <QWidget>

class DictionaryEditor;
class QAction;
class QToolBar;

/// The top-level window in which the host shows an editor window: the host's toolbar of commands above it,
/// and below it the editor window, whole and unchanged. The frame follows the editor window (its title, its
/// width as More and Less change it, hiding when it is left) and hands it the window system's close
/// requests and restacking, which only a top-level window receives.
class HostFrame : public QWidget
{
    Q_OBJECT
public:
    /// Takes editor in (it becomes a child of the frame) and shows commands on the toolbar.
    HostFrame(DictionaryEditor *editor, const QList<QAction *> &commands);

    DictionaryEditor *editor() const { return m_editor; }

protected:
    bool event(QEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    int barHeight() const;

    DictionaryEditor *m_editor;
    QToolBar *m_bar;
};
