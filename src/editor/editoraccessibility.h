#pragma once

/// What the editor's windows tell assistive technology beyond Qt's defaults: installed once per process
/// by the first editor window.
namespace EditorAccessibility {

/// Installs the accessible interfaces of the window and its own controls (the window reads as a main
/// window rather than a dialog, the More/Less button reports whether
/// the window is expanded, a scroll area's viewport never claims the focus of its area) and the filter that keeps focus
/// events to what holds the keyboard focus: an item view that lacks the focus announces its current item as selected
/// instead.
void install();

} // namespace EditorAccessibility
