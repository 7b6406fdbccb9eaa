#pragma once

class CommandWizard;
class QObject;
class WindowHost;

// Registers the command manager (Form9), the two wizard steps (Form12, Form14), the
// command search (Form15), the unknown-command reply (Form10), the bot information
// (Form35), the additional commands with their add window (Form49, Form50) and the help
// embedding window (Form36, shown by the feature windows after HelpEmbedding::setKind)
// with the main window. The wizard they share belongs to owner;
// it is returned so that other windows can follow what the wizard adds, changes and
// deletes.
CommandWizard *installCommandWindows(WindowHost &host, QObject *owner);
