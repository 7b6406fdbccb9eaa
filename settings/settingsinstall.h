#pragma once

class WindowHost;

// Puts the settings subsystem's windows into the frame: the settings window Form1, the
// agreement window Form48, the sub-bot switches Form44, Form45 and Form46, the tutorial
// Form26, the support and about windows Form4 and Form8 (which fill the send-message
// window Form2) and the help window Form27 and the news window Form22.
void installSettingsWindows(WindowHost &windows);

// The settings window alone on its bot numbers page, as the login paths, the start-up
// and the watchdog show it when no secondary bot is listed.
void showDistributionPage(WindowHost &windows);
