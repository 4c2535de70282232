#include <gtest/gtest.h>

#include <QAction>

#include "state/AppConfig.h"
#include "app/FrmMain.h"
#include "app/TrayBehaviour.h"
#include "support/TestSupport.h"

namespace {
class FakeTray final : public TrayIcon {
public:
    bool trayExists = true;
    int adds = 0, removes = 0;
    bool isShown = false;
    QString tip;
    bool available() const override { return trayExists; }
    void add(const QString& t) override { ++adds; isShown = true; tip = t; }
    void remove() override { ++removes; isShown = false; }
    bool shown() const override { return isShown; }
    QStringList notes;
    bool notify(const QString&, const QString& text) override {
        notes << text;
        return trayExists;
    }
};
}  // namespace

TEST(TrayBehaviour, MinimiseHidesBehindOneIconAndLeftPressRestores) {
    MainState s;
    FakeTray icon;
    int hides = 0, shows = 0;
    TrayBehaviour tray(s, icon, {[&] { ++hides; }, [&] { ++shows; }});
    for (int round = 1; round <= 2; ++round) {
        s.ReadyToQuery = s.AutoScanMode = true;
        s.AutoScan.setEnabled(true);
        s.ClickScan.setEnabled(true);
        tray.onMinimised();
        EXPECT_EQ(icon.adds, round);
        EXPECT_TRUE(icon.isShown);
        EXPECT_EQ(icon.tip, "VYRN 3.0");
        EXPECT_EQ(hides, round);
        EXPECT_FALSE(s.ReadyToQuery || s.AutoScanMode || s.AutoScan.Enabled() || s.ClickScan.Enabled());
        icon.leftPressed();
        EXPECT_FALSE(icon.isShown);
        EXPECT_EQ(shows, round);
        EXPECT_FALSE(s.AutoScan.Enabled());  // scanning stays off after a restore
    }
    icon.leftPressed();  // no icon, nothing to restore
    EXPECT_EQ(shows, 2);
}

TEST(TrayBehaviour, WindowComesBackWhenTheTrayGoesAwayOrVyrnStartsAgain) {
    MainState s;
    FakeTray icon;
    int shows = 0;
    TrayBehaviour tray(s, icon, {[] {}, [&] { ++shows; }});
    tray.onMinimised();
    icon.trayExists = false;
    icon.vanished();  // the panel holding the tray crashed
    EXPECT_EQ(shows, 1);
    EXPECT_FALSE(icon.isShown);

    icon.trayExists = true;
    tray.onMinimised();
    tray.bringToFront();  // a second start, while hidden in the tray
    EXPECT_EQ(shows, 2);
    EXPECT_FALSE(icon.isShown);
    tray.bringToFront();  // a second start, while on show
    EXPECT_EQ(shows, 3);
}

TEST(TrayBehaviour, WithoutATrayTheWindowIsNeverHidden) {
    MainState s;
    FakeTray icon;
    icon.trayExists = false;
    int hides = 0;
    TrayBehaviour tray(s, icon, {[&] { ++hides; }, [] {}});
    s.AutoScan.setEnabled(true);
    tray.onMinimised();
    EXPECT_EQ(hides, 0);
    EXPECT_EQ(icon.adds, 0);
    EXPECT_FALSE(s.AutoScan.Enabled());
}

TEST(TrayBehaviour, RealWindowHidesAndComesBack) {
    TempProgramFolder folder;
    folder.write("vyrn.ini", "\r\n\r\n\r\n1\r\n2\r\nTrue\r\n\r\n\r\n");
    FrmMain w;
    auto icon = std::make_unique<FakeTray>();
    FakeTray* fake = icon.get();
    w.useTrayIcon(std::move(icon));
    StartupHooks hooks;
    ASSERT_TRUE(w.Form_Load(hooks));
    w.show();
    pumpEvents(20);
    w.showMinimized();
    pumpEvents(50);
    EXPECT_FALSE(w.isVisible());
    EXPECT_TRUE(fake->isShown);
    fake->leftPressed();
    pumpEvents(50);
    EXPECT_TRUE(w.isVisible());
    EXPECT_FALSE(w.isMinimized());
    EXPECT_FALSE(fake->isShown);
    w.state().ASIndicator.fire();
    EXPECT_EQ(w.autoscanAction()->text(), "&Autoscan: Off");
}

TEST(TrayBehaviour, BuddyAlertsGoThroughTheTrayUnlessSwitchedOff) {
    TempProgramFolder folder;
    folder.write("vyrn.ini", "\r\n\r\n\r\n1\r\n2\r\nTrue\r\n\r\n\r\n");
    FrmMain w;
    auto icon = std::make_unique<FakeTray>();
    FakeTray* fake = icon.get();
    w.useTrayIcon(std::move(icon));
    ASSERT_TRUE(w.Form_Load(StartupHooks{}));
    w.state().buddySeen("Bob", "Green Server");
    w.state().buddySeen("Bob", "");  // a reply without a name tells nothing
    appConfig().BuddyAlerts = "0";
    w.state().buddySeen("Bob", "Red Server");
    appConfig().BuddyAlerts.clear();
    EXPECT_EQ(fake->notes, QStringList{"Bob is playing on Green Server"});
    // The desktop's notifications may read markup; names from the wire must not be.
    EXPECT_EQ(withoutMarkup("<b>Bob</b> & <img src=x>"), "\u2039b\u203ABob\u2039/b\u203A \uFF06 \u2039img src=x\u203A");
}
