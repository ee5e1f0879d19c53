#include "app/Startup.h"

#include "app/About/FrmAbout.h"
#include "app/About/LinkOpener.h"
#include "app/Artwork.h"
#include "app/Main/FrmMain.h"
#include "app/MessagePrompt.h"
#include "app/Splash/SplashForm.h"
#include "corvadel_config.h"
#include "data/DataModule.h"
#include "records/DataSets.h"

#include <QApplication>

#include <memory>

namespace corvadel::app {

void addDataSets(data::TDModBase &module)
{
    records::addAllDataSets(module);
}

int run(QApplication &application)
{
    auto splash = std::make_unique<SplashForm>();
    splash->showNow();

    QApplication::setApplicationDisplayName(QStringLiteral("Ardenmoor Corvadel"));
    QApplication::setWindowIcon(artwork::programIcon());

    MessagePrompt prompt;
    const data::ConnectionSettings settings{
        QString::fromUtf8(config::database), QString::fromUtf8(config::adminUser),
        QString::fromUtf8(config::adminPassword), QString::fromUtf8(config::server)};
    data::TDModBase module(settings, prompt);
    addDataSets(module);

    FrmMain main(module);
    // The fixed dialog that lives from start-up to the end.
    DesktopLinkOpener opener;
    FrmAbout about(opener, &main);

    splash->hide();
    splash.reset();

    main.show();
    return application.exec();
}

} // namespace corvadel::app
