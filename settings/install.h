#pragma once

class WindowHost;

// Puts the settings subsystem's windows into the frame: the settings window Form1, the
// agreement window Form48, the sub-bot switches Form44, Form45 and Form46, the tutorial
// Form26, the support and about windows Form4 and Form8 (which fill the send-message
// window Form2) and the help window Form27 and the news window Form22.
void installSettingsWindows(WindowHost &windows);

// The feature windows alone (part of installSettingsWindows): redirect Form18, notepad
// Form23, administrator contact Form24, anti-spam Form32, signature Form34, vote Form39
// and its results window Form40. The notepad and contact windows show the command
// editor's help embedding window Form36, which the frame must also hold.
void installFeatureWindows(WindowHost &windows);

// The settings window alone on its bot numbers page, as the login paths, the start-up
// and the watchdog show it when no secondary bot is listed.
void showDistributionPage(WindowHost &windows);
