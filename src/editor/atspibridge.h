#pragma once

class QAccessibleEvent;

/// What the editor adds to Qt's AT-SPI bridge on the Linux desktop, where the bridge of Qt 6.4 lacks it:
/// the details panel's links as AT-SPI Hypertext with one Hyperlink (and link object) per link, a focus event
/// for the link that Tab selects, and states that follow the keyboard focus (an item view's current item is
/// focused only while the view holds the keyboard focus; the word box is single-line).
///
/// It works through public QtDBus API only: the bridge answers the accessibility bus through a virtual
/// object on its named connection; the extension puts itself in that object's place and hands on every
/// message it does not answer itself.
namespace AtSpiBridge {

/// Starts watching for the bridge's connection; the extension takes its place as soon as it exists.
void install();

/// Called with every accessibility event before the bridge sees it: places the extension again if the
/// bridge came back, and announces the link that the details panel's selection now covers.
void notify(QAccessibleEvent *event);

} // namespace AtSpiBridge
