#pragma once

class QWidget;

// A window's frame wide enough for its caption: the caption's room is what the style
// leaves for it in a title bar beside the icon and the frame's buttons.
namespace WindowFit {

// The caption's room in the title bar of a frame of its current width.
int captionRoom(const QWidget *frame);
// The width the caption's text takes in the title bar's font.
int captionNeed(const QWidget *frame);
// Widens the frame until its caption shows whole, to at most widest pixels.
void widenForCaption(QWidget *frame, int widest);

} // namespace WindowFit
