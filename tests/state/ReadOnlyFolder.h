#pragma once
#include <QString>

// Makes an existing folder read-only for this test process with a read-only bind mount
// in a mount namespace of its own (root ignores permissions, but not a read-only
// mount). Empty reason when it worked; otherwise why not, for GTEST_SKIP.
QString mountReadOnly(const QString& folder);
// Undoes mountReadOnly, so the temporary folder can be removed.
void unmountReadOnly(const QString& folder);
