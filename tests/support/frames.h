#pragma once

#include "session/flap.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

// A byte stream as it went over a connection, cut into frames; a cut tail is left out.
QList<FLAP> framesOf(const QByteArray &stream);

// "family,subtype" of a channel-2 frame in upper-case hex, "ch N" of any other:
// readable in failure output.
QString frameName(const FLAP &frame);

// The names of the frames from index `from` on.
QStringList frameNames(const QList<FLAP> &frames, qsizetype from = 0);
