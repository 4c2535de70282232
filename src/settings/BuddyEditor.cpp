#include "settings/BuddyEditor.h"

#include "settings/SettingsGrids.h"

void addBuddy(FlexGrid& g, const InputAsker& ask) {
    const QString name =
        ask({QStringLiteral("Name of buddy to add.\r\n\r\n"
                            "Typing ** at the end of the name indicates buddy name is a wildcard.\r\n"
                            "(i.e. [XYZ]** will search for players with '[XYZ]' in their names.)"),
             QStringLiteral("Add a buddy"), QString()})
            .value_or(QString());
    if (name.isEmpty()) return;
    if (g.cellText(1, 0).isEmpty()) g.setCellText(1, 0, name);
    else appendGridRow(g, {name});
}

void editBuddy(FlexGrid& g, const InputAsker& ask) {
    const int r = g.currentRow();
    if (r < 1 || r >= g.rowCount()) return;
    const QString name =
        ask({QStringLiteral("Edit this buddy's name."), QStringLiteral("Edit Buddy"), g.cellText(r, 0)})
            .value_or(QString());
    if (!name.isEmpty()) g.setCellText(r, 0, name);
}

void removeBuddy(FlexGrid& g) {
    const int r = g.currentRow();
    if (r == 1) g.setCellText(1, 0, QString());
    else if (r > 1) g.removeRow(r);
}

void clearBuddies(FlexGrid& g) { layoutSettingsBuddyGrid(g); }
