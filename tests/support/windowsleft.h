#pragma once

#include <QStringList>

/// What a GUI test left behind: the class names of the top-level windows still alive once pending
/// deletions have run, and of an open modal dialog or pop-up. Empty when the test cleaned up after itself.
QStringList windowsLeft();
