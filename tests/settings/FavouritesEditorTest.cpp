#include <gtest/gtest.h>

#include "settings/FavouritesEditor.h"
#include "settings/SettingsGrids.h"
#include "support/GridFiles.h"
#include "support/TestSupport.h"

namespace {
// The dialog's favourites grid holding the given rows.
FlexGrid gridWith(const QList<QStringList>& rows) {
    FlexGrid g(2, 4);
    layoutSettingsServerGrid(g, kGameColumnWidthOnOpen);
    for (const QStringList& row : rows) appendGridRow(g, row);
    g.removeRow(1);  // the empty row, unless it is the only one
    return g;
}

bool highlighted(FlexGrid& g, int row) {
    return g.cell(row, 0) && g.cell(row, 0)->back == FlexGrid::kSystemHighlight;
}

// The game dialog answering code; nothing when it is empty.
GameChooser game(const QString& code) {
    return [code](const QString&) { return code.isEmpty() ? std::nullopt : std::optional(code); };
}

InputAsker asker(ScriptedPrompter& p) {
    return [&p](const InputRequest& request) { return p.input(request); };
}

const QList<QStringList> kThree = {
    {"1", "10.0.0.1", "7778", "UT"}, {"2", "10.0.0.2", "7787", "UT2"}, {"3", "10.0.0.3", "7787", "UT3"}};
}  // namespace

// Each answer is asked for once: a typed port skips the port question.
TEST(FavouritesEditor, AddAsksForWhatTheAddressLacksAndStopsSilentlyOnCancelOrBadInput) {
    const struct {
        std::deque<std::optional<QString>> inputs;
        QString game, row, suggestedQueryPort, refusal;
    } cases[] = {
        {{QString("10.0.0.1:7777"), QString("7778")}, "UT", "1|10.0.0.1|7778|UT", "7778", ""},
        {{QString("ut.example.org"), QString(" 7777 "), QString("7787")},
         "UT3",
         "1|ut.example.org|7787|UT3",
         "7787",
         ""},
        {{std::nullopt}, "UT", "|||", "", ""},
        {{QString("10.0.0.1"), QString("port")}, "UT", "|||", "", "The port \"port\" is not a port"},
        {{QString("127.0.0.1:100000")}, "UT", "|||", "", "The port \"100000\""},
        {{QString("127.0.0.1:8.5")}, "UT", "|||", "", "The port \"8.5\""},
        {{QString("not a host!:7777")}, "UT", "|||", "", "The address \"not a host!\" is neither"},
        {{QString("10.0.0.256:7777")}, "UT", "|||", "", "The address \"10.0.0.256\""},
        {{QString("10.0.0.1:7777"), QString("0")}, "UT", "|||", "", "The port \"0\""},
        {{QString("10.0.0.1"), QString("7777")}, "", "|||", "", ""},  // no game chosen
        {{QString(" :7777")}, "UT", "|||", "", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.row.toStdString());
        ScriptedPrompter p;
        p.inputs = c.inputs;
        FlexGrid g = gridWith({});
        addFavourite(g, asker(p), game(c.game));
        EXPECT_EQ(gridRows(g), QStringList{c.row});
        ASSERT_EQ(p.asked.size(), qsizetype(c.inputs.size()));
        EXPECT_EQ(p.shown.value(0).text.left(c.refusal.size()), c.refusal);
        EXPECT_EQ(p.shown.size(), c.refusal.isEmpty() ? 0 : 1);
        if (c.suggestedQueryPort.isEmpty()) continue;
        EXPECT_EQ(p.asked.last().defaultText, c.suggestedQueryPort);
    }
    // An import fills an empty list's row 1 without a number; Add must not overwrite it.
    ScriptedPrompter p;
    p.inputs = {QString("10.0.0.2:7777"), QString("7787")};
    FlexGrid imported = gridWith({{"", "10.0.0.1", "7787", "UT3"}});
    addFavourite(imported, asker(p), game("UT3"));
    EXPECT_EQ(gridRows(imported), (QStringList{"|10.0.0.1|7787|UT3", "2|10.0.0.2|7787|UT3"}));
}

TEST(FavouritesEditor, EditAsksWithTheRowsValuesCancelChangesNothingAndRemoveLeavesAnEmptyRow) {
    ScriptedPrompter p;
    p.inputs = {QString("10.0.0.9"), QString("9000")};
    FlexGrid g = gridWith({{"1", "10.0.0.1", "7778", "ut"}, {"2", "10.0.0.2", "7787", "UT3"}});
    g.setCurrentRow(1);
    editFavourite(g, asker(p), game("UT2"));
    EXPECT_EQ((QStringList{p.asked[0].defaultText, p.asked[1].defaultText}),
              (QStringList{"10.0.0.1", "7778"}));
    // An address typed with a port fills both fields: its port is the query port offered.
    p.inputs = {QString(" 10.0.0.8 :9999"), QString("9999")};
    g.setCurrentRow(2);
    editFavourite(g, asker(p), game("UT3"));
    EXPECT_EQ(p.asked.last().defaultText, "9999");
    EXPECT_EQ(gridRows(g), (QStringList{"1|10.0.0.9|9000|UT2", "2|10.0.0.8|9999|UT3"}));

    p.inputs = {std::nullopt};
    editFavourite(g, asker(p), game("UT"));
    EXPECT_EQ(gridRows(g).last(), "2|10.0.0.8|9999|UT3");
    removeFavourite(g);
    g.setCurrentRow(1);
    removeFavourite(g);  // the last entry leaves an empty row
    EXPECT_EQ(gridRows(g), QStringList{"|||"});
}

TEST(FavouritesEditor, MovesHighlightTheMovedEntryAHeaderClickChangesNothingAndClearEmpties) {
    FlexGrid g = gridWith(kThree);
    g.setCurrentRow(3);
    moveFavouriteUp(g);
    moveFavouriteUp(g);
    EXPECT_EQ(gridRows(g), (QStringList{"1|10.0.0.3|7787|UT3", "2|10.0.0.1|7778|UT", "3|10.0.0.2|7787|UT2"}));
    EXPECT_TRUE(highlighted(g, 1));
    moveFavouriteDown(g);
    EXPECT_TRUE(highlighted(g, 2));
    EXPECT_FALSE(highlighted(g, 1));
    g.setMouseCell(0, 1);
    highlightClickedRow(g);
    EXPECT_TRUE(highlighted(g, 2));
    clearFavourites(g);
    EXPECT_EQ(gridRows(g), QStringList{"|||"});
}
