#pragma once

#include <QStringList>

#include <memory>

// The real services as the instances of Dialogs, Sound, WebOpener, Power and
// Autostart for as long as the returned object lives; its end restores the
// defaults. It needs the QApplication, so main() creates it right after:
//
//     QApplication app(argc, argv);
//     const auto services = installPlatformServices(app.arguments());
//
// `arguments` is the program's command line; its --home goes into the
// autostart entry.
class PlatformServices
{
public:
    virtual ~PlatformServices() = default;
};

[[nodiscard]] std::unique_ptr<PlatformServices> installPlatformServices(const QStringList &arguments);
