#include "app/frmlegalnotice.h"
#include "support/mainwindowfixture.h"

#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QSettings>
#include <gtest/gtest.h>

namespace {

struct LegalNoticeTest : MainWindowFixture {
    bool savedShowLegalNotice()
    {
        TOptions stored(appFolder.path());
        stored.Load(ProductKey);
        return stored.ShowLegalNotice;
    }
};

TEST_F(LegalNoticeTest, ClosedWithTheCloseBoxSavesTrue)
{
    options->ShowLegalNotice = false;
    window->ShowLegalNoticeDialog();
    EXPECT_EQ(dialogs.shown, QStringList{QStringLiteral("modal|Legal Notice")});
    EXPECT_TRUE(options->ShowLegalNotice);
    EXPECT_TRUE(savedShowLegalNotice());
}

TEST_F(LegalNoticeTest, OkFollowsTheReminderBox)
{
    const auto okWith = [](bool ticked) {
        return [ticked](QDialog& dialog) {
            auto& notice = static_cast<TfrmLegalNotice&>(dialog);
            EXPECT_FALSE(notice.chkDontRemind->isChecked()) << "the box starts clear";
            notice.chkDontRemind->setChecked(ticked);
            notice.cmdOK->click();
        };
    };
    dialogs.modalScripts.push_back(okWith(true));
    window->mnuExtraLegalNoticeClick();
    EXPECT_FALSE(options->ShowLegalNotice);
    EXPECT_FALSE(savedShowLegalNotice());

    dialogs.modalScripts.push_back(okWith(false));
    window->mnuExtraLegalNoticeClick();
    EXPECT_TRUE(options->ShowLegalNotice);
    EXPECT_TRUE(savedShowLegalNotice());
}

TEST_F(LegalNoticeTest, Texts)
{
    TfrmLegalNotice notice(window.get(), *options);
    EXPECT_EQ(notice.windowTitle(), QStringLiteral("Legal Notice"));
    EXPECT_EQ(notice.chkDontRemind->text(), QStringLiteral("Don't remind me in the future"));
    EXPECT_EQ(notice.cmdOK->text(), QStringLiteral("OK"));
    EXPECT_TRUE(notice.lblHeader03->text().startsWith(QStringLiteral("If you are not sure")));
}

} // namespace
