#pragma once

#include "commandwindows/windowhelpers.h"

class CommandWizard;
class QObject;
class WindowHost;

// Registers the command manager (Form9), the two wizard steps (Form12, Form14) and the
// command search (Form15) with the main window. The wizard they share belongs to owner;
// it is returned so that other windows can follow what the wizard adds, changes and
// deletes.
CommandWizard *installCommandWindows(WindowHost &host, QObject *owner);
