#include <gtest/gtest.h>

#include "settings/BuddyEditor.h"
#include "settings/FavouritesEditor.h"
#include "settings/SettingsGrids.h"
#include "support/GridFiles.h"
#include "support/TestSupport.h"

namespace {
FlexGrid gridWith(const QList<QStringList>& rows) {
    FlexGrid g(2, 4);
    layoutSettingsServerGrid(g, kGameColumnWidthOnOpen);
    for (int i = 0; i < rows.size(); ++i) {
        if (i == 0) {
            for (int c = 0; c < 4; ++c) g.setTextMatrix(1, c, rows[0][c]);
        } else {
            appendGridRow(g, rows[i]);
        }
    }
    return g;
}

bool rowHighlighted(FlexGrid& g, int row) {
    const auto* cell = g.cell(row, 0);
    return cell && cell->back == FlexGrid::kSystemHighlight && cell->fore == FlexGrid::kSystemHighlightText;
}

// The game dialog's answer, and the preselection it was opened with.
struct GameAnswer {
    QString code;
    QStringList preselections{};
    GameChooser chooser() {
        return [this](const QString& pre) -> std::optional<QString> {
            preselections.append(pre);
            if (code.isEmpty()) return std::nullopt;
            return code;
        };
    }
};

InputAsker asker(ScriptedPrompter& p) {
    return [&p](const InputRequest& request) { return p.input(request); };
}

const QList<QStringList> kThree = {{"1", "10.0.0.1", "7778", "UT"},
                                   {"2", "10.0.0.2", "7787", "UT2"},
                                   {"3", "10.0.0.3", "7787", "UT3"}};
}  // namespace

TEST(FavouritesEditor, AddAsksForWhatTheAddressLacksAndSuggestsTheQueryPortByGame) {
    ScriptedPrompter p;
    p.inputs = {QString("10.0.0.1:7777"), QString("7778"), QString("10.0.0.2"), QString(" 7777 "), QString("7787")};
    GameAnswer game{"UT"};
    FlexGrid g = gridWith({});
    AddFavourite(g, asker(p), game.chooser());
    game.code = "UT3";
    AddFavourite(g, asker(p), game.chooser());
    ASSERT_EQ(p.asked.size(), 5);  // a typed port skips the port question
    EXPECT_EQ(p.asked[0].prompt, "Enter the IP address for this server.");
    EXPECT_EQ(p.asked[0].title, "Adding a server");
    EXPECT_EQ(p.asked[1].prompt, "Edit the query port for this server.\r\nA default value has been suggested to you.");
    EXPECT_EQ(p.asked[1].defaultText, "7778");
    EXPECT_EQ(p.asked[3].prompt, "Enter the game port for this server.");
    EXPECT_EQ(p.asked[4].defaultText, "7787");
    EXPECT_EQ(gridRows(g), (QStringList{"1|10.0.0.1|7778|UT", "2|10.0.0.2|7787|UT3"}));
    EXPECT_FALSE(rowHighlighted(g, 2));
}

TEST(FavouritesEditor, AddStopsSilentlyOnCancelOrBadInput) {
    struct Case { std::deque<std::optional<QString>> inputs; QString game; } cases[] = {
        {{std::nullopt}, "UT"},
        {{QString("10.0.0.1"), std::nullopt}, "UT"},
        {{QString("10.0.0.1"), QString("port")}, "UT"},
        {{QString("10.0.0.1:77x")}, "UT"},
        {{QString("10.0.0.1"), QString("7777")}, ""},  // no game chosen
        {{QString("10.0.0.1"), QString("7777"), QString("abc")}, "UT"},
        {{QString(" :7777")}, "UT"},
    };
    for (auto& c : cases) {
        ScriptedPrompter p;
        p.inputs = c.inputs;
        GameAnswer game{c.game};
        FlexGrid g = gridWith({});
        AddFavourite(g, asker(p), game.chooser());
        EXPECT_EQ(gridRows(g), (QStringList{"|||"}));
        EXPECT_TRUE(p.shown.isEmpty());
    }
}

TEST(FavouritesEditor, AddKeepsAnImportedFirstRow) {
    // An import fills an empty list's row 1 without a number; Add must not overwrite it.
    ScriptedPrompter p;
    p.inputs = {QString("10.0.0.2:7777"), QString("7787")};
    GameAnswer game{"UT3"};
    FlexGrid g = gridWith({{"", "10.0.0.1", "7787", "UT3"}});
    AddFavourite(g, asker(p), game.chooser());
    EXPECT_EQ(gridRows(g), (QStringList{"|10.0.0.1|7787|UT3", "2|10.0.0.2|7787|UT3"}));
}

TEST(FavouritesEditor, EditAsksWithTheRowsValues) {
    ScriptedPrompter p;
    p.inputs = {QString("10.0.0.9"), QString("9000")};
    GameAnswer game{"UT2"};
    FlexGrid g = gridWith({{"1", "10.0.0.1", "7778", "ut"}, {"2", "10.0.0.2", "7787", "UT3"}});
    g.setRow(1);
    EditFavourite(g, asker(p), game.chooser());
    EXPECT_EQ(game.preselections, QStringList{"ut"});  // matches no choice: none selected
    EXPECT_EQ(p.asked[0].defaultText, "10.0.0.1");
    EXPECT_EQ(p.asked[0].title, "Edit");
    EXPECT_EQ(p.asked[1].prompt, "Edit the Query Port for this server.");
    EXPECT_EQ(p.asked[1].defaultText, "7778");
    EXPECT_EQ(gridRows(g).first(), "1|10.0.0.9|9000|UT2");

    // An address typed with a port changes the address only.
    p.inputs = {QString(" 10.0.0.8 :7777")};
    g.setRow(2);
    EditFavourite(g, asker(p), game.chooser());
    EXPECT_EQ(gridRows(g).last(), "2|10.0.0.8|7787|UT3");

    // Cancel, or an empty row, changes nothing.
    p.inputs = {std::nullopt};
    EditFavourite(g, asker(p), game.chooser());
    FlexGrid empty = gridWith({});
    const int askedBefore = p.asked.size();
    EditFavourite(empty, asker(p), game.chooser());
    EXPECT_EQ(p.asked.size(), askedBefore);
}

TEST(FavouritesEditor, RemoveAndClear) {
    FlexGrid g = gridWith(kThree);
    g.setRow(2);
    RemoveFavourite(g);
    EXPECT_EQ(gridRows(g), (QStringList{"1|10.0.0.1|7778|UT", "3|10.0.0.3|7787|UT3"}));
    g.setRow(1);
    RemoveFavourite(g);
    EXPECT_EQ(gridRows(g), (QStringList{"|||", "3|10.0.0.3|7787|UT3"}));
    ClearFavourites(g);
    EXPECT_EQ(gridRows(g), (QStringList{"|||"}));
    EXPECT_EQ(g.TextMatrix(0, 2), "Q. Port");
    EXPECT_EQ(g.ColWidth(3), 500);
}

TEST(FavouritesEditor, MoveUpAndDownHighlightTheMovedEntry) {
    FlexGrid g = gridWith(kThree);
    g.setRow(1);
    MoveFavouriteUp(g);
    EXPECT_EQ(gridRows(g), gridRows(gridWith(kThree)));
    g.setRow(3);
    MoveFavouriteUp(g);
    MoveFavouriteUp(g);
    EXPECT_EQ(gridRows(g), (QStringList{"1|10.0.0.3|7787|UT3", "2|10.0.0.1|7778|UT", "3|10.0.0.2|7787|UT2"}));
    EXPECT_TRUE(rowHighlighted(g, 1));
    EXPECT_FALSE(rowHighlighted(g, 2));
    MoveFavouriteDown(g);
    EXPECT_EQ(g.Row(), 2);
    EXPECT_TRUE(rowHighlighted(g, 2));
    EXPECT_FALSE(rowHighlighted(g, 1));
    g.setRow(3);
    MoveFavouriteDown(g);
    EXPECT_EQ(g.TextMatrix(3, 1), "10.0.0.2");
}

TEST(FavouritesEditor, SwapExchangesTheChosenRows) {
    FlexGrid g = gridWith(kThree);
    SwapFavourites(g, [] { return SwapRows{1, 3}; });
    EXPECT_EQ(gridRows(g), (QStringList{"1|10.0.0.3|7787|UT3", "2|10.0.0.2|7787|UT2", "3|10.0.0.1|7778|UT"}));
    EXPECT_TRUE(rowHighlighted(g, 3));
    SwapFavourites(g, [] { return std::optional<SwapRows>(); });
    SwapFavourites(g, [] { return SwapRows{2, 9}; });  // out of range: nothing
    EXPECT_EQ(g.TextMatrix(3, 1), "10.0.0.1");
    SwapFavourites(g, [] { return SwapRows{2, 2}; });
    EXPECT_TRUE(rowHighlighted(g, 2));
    EXPECT_FALSE(rowHighlighted(g, 3));
}

TEST(FavouritesEditor, HeaderClickChangesNoHighlight) {
    FlexGrid g = gridWith(kThree);
    g.setMouseCell(2, 1);
    highlightClickedRow(g);
    EXPECT_TRUE(rowHighlighted(g, 2));
    g.setMouseCell(0, 1);
    highlightClickedRow(g);
    EXPECT_TRUE(rowHighlighted(g, 2));
    EXPECT_EQ(g.Row(), 2);
}

TEST(BuddyEditor, AddEditRemoveClear) {
    ScriptedPrompter p;
    FlexGrid g(2, 1);
    layoutSettingsBuddyGrid(g);
    p.inputs = {QString("[XYZ]**"), QString("Bob"), QString("Bob"), std::nullopt};
    for (int i = 0; i < 4; ++i) AddBuddy(g, asker(p));
    EXPECT_EQ(p.asked[0].title, "Add a buddy");
    EXPECT_TRUE(p.asked[0].prompt.startsWith("Name of buddy to add.\r\n\r\nTyping ** at the end"));
    EXPECT_EQ(gridRows(g), (QStringList{"[XYZ]**", "Bob", "Bob"}));

    p.inputs = {QString("Alice\tTab"), QString()};
    g.setRow(2);
    EditBuddy(g, asker(p));
    EditBuddy(g, asker(p));  // an empty answer changes nothing
    EXPECT_EQ(p.asked.last().defaultText, "Alice\tTab");
    EXPECT_EQ(p.asked.last().title, "Edit Buddy");
    EXPECT_EQ(g.TextMatrix(2, 0), "Alice\tTab");

    g.setRow(1);
    RemoveBuddy(g);
    EXPECT_EQ(gridRows(g), (QStringList{"", "Alice\tTab", "Bob"}));
    g.setRow(3);
    RemoveBuddy(g);
    EXPECT_EQ(gridRows(g), (QStringList{"", "Alice\tTab"}));
    ClearBuddies(g);
    EXPECT_EQ(gridRows(g), (QStringList{""}));
    EXPECT_EQ(g.TextMatrix(0, 0), "Buddy List");
}
