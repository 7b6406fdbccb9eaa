#pragma once

#include <functional>

class IcqSession;
class WindowHost;

// Puts the session's windows into the frame: the login window fMain, the start window,
// listed as a child "Вход". When the login finds no secondary bot, it calls
// showDistributionPage (the settings live above this library).
void installSessionWindows(WindowHost &windows, IcqSession &session, std::function<void()> showDistributionPage);
