// The name of the record that tells the hook library where its reports go: one per user and
// per session, so that two users (or one user in two sessions) never take each other's reports.
#include <gtest/gtest.h>

#include <set>
#include <string>

#include "hook/ReportTarget.h"

using namespace orvale;

TEST(HookReports, OneRecordPerUserAndSessionInTheSessionsOwnNamespace) {
    const std::wstring alice = L"S-1-5-21-3623811015-3361044348-30300820-1013";
    const std::wstring bob = L"S-1-5-21-3623811015-3361044348-30300820-1014";
    const std::set<std::wstring> names = {ReportTargetName(alice, 1), ReportTargetName(bob, 1),
                                          ReportTargetName(alice, 2), ReportTargetName(bob, 2)};
    EXPECT_EQ(4u, names.size());
    for (const std::wstring& name : names) EXPECT_EQ(0u, name.rfind(L"Local\\", 0)) << name;

    // This process's own: the user and session the library and the program both work out.
    std::wstring user;
    DWORD session = 0;
    ASSERT_TRUE(OwnUserAndSession(user, session));
    EXPECT_EQ(0u, user.rfind(L"S-1-", 0)) << user;
    EXPECT_EQ(ReportTargetName(user, session), OwnReportTargetName());
}
