// Names of snapshots and recordings: distinct for distinct moments, and a
// recording never takes the name of a file that exists.
#include <gtest/gtest.h>

#include <set>
#include <string>

#include "capture_file_names.h"

namespace {

const LocalTimestamp kJan11{2024, 1, 11, 10, 0, 0, 0};
const LocalTimestamp kNov1{2024, 11, 1, 10, 0, 0, 0};

PathExists In(const std::set<std::wstring>& files) {
    return [&files](const std::wstring& path) { return files.count(path) != 0; };
}

TEST(NewVideoPath, ZeroPadsSoDistinctMomentsGetDistinctNames) {
    const std::set<std::wstring> none;
    EXPECT_EQ(NewVideoPath(L"C:\\Video\\", kJan11, In(none)), L"C:\\Video\\Video_20240111100000.avi");
    EXPECT_EQ(NewVideoPath(L"C:\\Video\\", kNov1, In(none)), L"C:\\Video\\Video_20241101100000.avi");
    EXPECT_EQ(NewVideoPath(L"", {2026, 12, 31, 23, 59, 58, 999}, In(none)), L"Video_20261231235958.avi");
}

TEST(NewVideoPath, NeverNamesAnExistingFile) {
    std::set<std::wstring> files{L"D:\\v\\Video_20240111100000.avi", L"D:\\v\\Video_20240111100000_2.avi"};
    EXPECT_EQ(NewVideoPath(L"D:\\v\\", kJan11, In(files)), L"D:\\v\\Video_20240111100000_3.avi");
    files.erase(L"D:\\v\\Video_20240111100000_2.avi");
    EXPECT_EQ(NewVideoPath(L"D:\\v\\", kJan11, In(files)), L"D:\\v\\Video_20240111100000_2.avi");

    int asked = 0;
    const PathExists everything = [&asked](const std::wstring&) {
        ++asked;
        return true;
    };
    EXPECT_FALSE(NewVideoPath(L"D:\\v\\", kJan11, everything).has_value());
    EXPECT_GT(asked, 1);
}

TEST(NextSnapshotFileName, NamesByDateTimeAndMillisecondsAndType) {
    std::wstring pending;
    const LocalTimestamp t{2024, 3, 7, 8, 9, 5, 42};
    EXPECT_EQ(NextSnapshotFileName(1, t, false, pending), L"Shot_202403070809050042.bmp");
    EXPECT_EQ(NextSnapshotFileName(2, t, false, pending), L"Shot_202403070809050042.jpg");
    EXPECT_EQ(NextSnapshotFileName(3, t, false, pending), L"Shot_202403070809050042.tiff");
    EXPECT_EQ(NextSnapshotFileName(2, kJan11, false, pending), L"Shot_202401111000000000.jpg");
    EXPECT_EQ(NextSnapshotFileName(2, kNov1, false, pending), L"Shot_202411011000000000.jpg");
    for (int type : {0, 4, -1}) EXPECT_FALSE(NextSnapshotFileName(type, t, false, pending).has_value()) << type;
}

TEST(NextSnapshotFileName, UsesAPendingUserNameOnce) {
    const LocalTimestamp t{2024, 3, 7, 8, 9, 5, 42};
    std::wstring pending = L"Sample A";
    EXPECT_EQ(NextSnapshotFileName(2, t, true, pending), L"Sample A.jpg");
    EXPECT_EQ(pending, L"");
    EXPECT_EQ(NextSnapshotFileName(2, t, true, pending), L"Shot_202403070809050042.jpg");

    pending = L"kept";  // automatic naming leaves the pending name alone
    EXPECT_EQ(NextSnapshotFileName(3, t, false, pending), L"Shot_202403070809050042.tiff");
    EXPECT_EQ(pending, L"kept");

    EXPECT_FALSE(NextSnapshotFileName(7, t, true, pending).has_value());  // unknown type: used up all the same
    EXPECT_EQ(pending, L"");
}

}  // namespace
