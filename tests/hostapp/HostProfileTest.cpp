// The host's profile: values kept under verbatim keys in a file that survives restarts, damage and
// failed writes.
#include "hostcore/HostProfile.h"
#include "platform/text/Utf.h"
#include "hostapp/VeltraHost.h"
#include "support/MessageBoxRecorder.h"
#include "tests/hostapp/HostTestSupport.h"

#include <QDir>
#include <QFile>

#include <csignal>
#include <cstring>
#include <gtest/gtest.h>
#include <limits>
#include <sys/resource.h>

namespace {

constexpr char16_t kRectKey[] = u"plugins\\atmocalc\\/WindowRect_tlx";
constexpr char16_t kPressureKey[] = u"plugins\\atmocalc\\Settings/pressGrad";
constexpr char16_t kOddKey[] = u"tab\there \"quoted\"\nnew line/Ключ";

QByteArray ReadAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool SameBits(double a, double b) {
    return std::memcmp(&a, &b, sizeof(double)) == 0;
}

void WriteAll(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(bytes);
}

// Files written while it lives cannot grow past the limit (the write fails instead of raising SIGXFSZ).
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes) {
        getrlimit(RLIMIT_FSIZE, &saved);
        previousHandler = std::signal(SIGXFSZ, SIG_IGN);
        rlimit limit = saved;
        limit.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit() {
        setrlimit(RLIMIT_FSIZE, &saved);
        std::signal(SIGXFSZ, previousHandler);
    }

private:
    rlimit saved{};
    void (*previousHandler)(int);
};

class ProfileFile : public testing::Test {
protected:
    QTemporaryDir folder;
    QString path = folder.filePath(QStringLiteral("profile.json"));
    MessageBoxRecorder boxes;
};

} // namespace

TEST_F(ProfileFile, ValuesSurviveARestartThroughTheHostTable) {
    HostOptions options = OptionsIn(folder);
    {
        VeltraHost host(options);
        const HostFunctions* table = host.Bus().Table();
        int32_t left = -120;
        double pressure = 745.1;
        double tenth = 0.1;
        int32_t odd = 7;
        EXPECT_EQ(table->CallService("Profile/SetInt", reinterpret_cast<intptr_t>(kRectKey), &left), 1);
        EXPECT_EQ(
            table->CallService("Profile/SetDouble", reinterpret_cast<intptr_t>(kPressureKey), &pressure), 1);
        EXPECT_EQ(table->CallService("Profile/SetDouble", reinterpret_cast<intptr_t>(u"tenth"), &tenth), 1);
        EXPECT_EQ(table->CallService("Profile/SetInt", reinterpret_cast<intptr_t>(kOddKey), &odd), 1);
    }
    VeltraHost restarted(options);
    const HostFunctions* table = restarted.Bus().Table();
    int32_t left = 0, odd = 0;
    double pressure = 0, tenth = 0;
    EXPECT_EQ(table->CallService("Profile/GetInt", reinterpret_cast<intptr_t>(kRectKey), &left), 1);
    EXPECT_EQ(table->CallService("Profile/GetDouble", reinterpret_cast<intptr_t>(kPressureKey), &pressure),
              1);
    EXPECT_EQ(table->CallService("Profile/GetDouble", reinterpret_cast<intptr_t>(u"tenth"), &tenth), 1);
    EXPECT_EQ(table->CallService("Profile/GetInt", reinterpret_cast<intptr_t>(kOddKey), &odd), 1);
    EXPECT_EQ(left, -120);
    EXPECT_EQ(odd, 7);
    EXPECT_TRUE(SameBits(pressure, 745.1));
    EXPECT_TRUE(SameBits(tenth, 0.1));
    EXPECT_TRUE(boxes.boxes.empty());
}

TEST_F(ProfileFile, UnknownKeyOrOtherTypeAnswersZeroAndLeavesTheValue) {
    HostProfile profile(path.toStdU16String());
    ASSERT_TRUE(profile.SetInt(u"Settings/stdMode", 1));
    EXPECT_EQ(profile.GetDouble(u"Settings/stdMode"), std::nullopt);
    EXPECT_EQ(profile.GetInt(u"settings/stdmode"), std::nullopt); // keys are compared exactly

    VeltraHost host(OptionsIn(folder));
    double value = 3.5;
    EXPECT_EQ(
        host.Bus().Table()->CallService("Profile/GetDouble", reinterpret_cast<intptr_t>(u"absent"), &value),
        0);
    EXPECT_EQ(value, 3.5);
    EXPECT_EQ(host.Bus().Table()->CallService("Profile/GetDouble", 0, &value), 0);
}

TEST_F(ProfileFile, DamagedFileReadsEmptyWithAWarningAndIsKeptAside) {
    {
        HostProfile good(path.toStdU16String());
        ASSERT_TRUE(good.SetInt(u"kept", 1));
    }
    const QByteArray damaged = ReadAll(path).left(20);
    WriteAll(path, damaged);

    HostProfile profile(path.toStdU16String());
    EXPECT_EQ(profile.GetInt(u"kept"), std::nullopt);
    const QString copy = path + QStringLiteral(".damaged");
    EXPECT_TRUE(
        QString::fromStdU16String(profile.Warning()).startsWith(QStringLiteral("Файл профиля %1 повреждён (ошибка JSON").arg(path)))
        << Utf16ToUtf8(profile.Warning());
    EXPECT_TRUE(QString::fromStdU16String(profile.Warning()).endsWith(
        QStringLiteral("Настройки прочитаны как пустые; повреждённый файл сохранён как %1.").arg(copy)));
    EXPECT_EQ(ReadAll(copy), damaged);

    ASSERT_TRUE(profile.SetInt(u"new", 2));
    EXPECT_EQ(HostProfile(path.toStdU16String()).GetInt(u"new"), 2);
    EXPECT_EQ(ReadAll(copy), damaged);

    // A second damaged file does not replace the first copy.
    WriteAll(path, "[1, 2]");
    HostProfile again(path.toStdU16String());
    EXPECT_TRUE(QString::fromStdU16String(again.Warning()).contains(QStringLiteral("это не файл профиля")));
    EXPECT_EQ(ReadAll(copy), damaged);
    EXPECT_EQ(ReadAll(path + QStringLiteral(".damaged-2")), "[1, 2]");
}

TEST_F(ProfileFile, ValuesOfTheWrongKindMakeTheFileDamaged) {
    for (const char* text : {R"({"format": "veltra-host profile", "int": {"k": 1.5}})",
                             R"({"format": "veltra-host profile", "int": {"k": 3000000000}})",
                             R"({"format": "veltra-host profile", "double": {"k": "7"}})",
                             R"({"format": "veltra-host profile", "double": []})",
                             R"({"format": "veltra-host profile", "text": {"k": 7}})",
                             R"({"format": "veltra-host profile", "text": "k"})", ""}) {
        WriteAll(path, text);
        HostProfile profile(path.toStdU16String());
        EXPECT_FALSE(QString::fromStdU16String(profile.Warning()).isEmpty()) << text;
        EXPECT_EQ(profile.GetInt(u"k"), std::nullopt);
    }
}

TEST_F(ProfileFile, DamagedFileIsShownWhenTheHostStarts) {
    WriteAll(path, "{");
    VeltraHost host(OptionsIn(folder));
    ASSERT_EQ(boxes.boxes.size(), 1u);
    EXPECT_EQ(boxes.boxes[0].flags, MB_OK | MB_ICONEXCLAMATION);
    EXPECT_TRUE(QString::fromStdU16String(boxes.boxes[0].text).contains(QStringLiteral("повреждён")));
}

TEST_F(ProfileFile, FailedWriteKeepsThePreviousFileAndTheValueForTheSession) {
    HostProfile profile(path.toStdU16String());
    ASSERT_TRUE(profile.SetInt(u"a", 1));
    const QByteArray before = ReadAll(path);
    {
        FileSizeLimit limit(16); // the new file cannot be written out, whoever runs the test
        EXPECT_FALSE(profile.SetInt(u"a", 2));
    }
    EXPECT_TRUE(QString::fromStdU16String(profile.LastError()).startsWith(QStringLiteral("файл профиля %1 не записан (").arg(path)));
    EXPECT_TRUE(QString::fromStdU16String(profile.LastError()).endsWith(
        QStringLiteral("); прежний файл не изменён, новые значения действуют до закрытия хоста")));
    EXPECT_EQ(profile.GetInt(u"a"), 2);
    EXPECT_EQ(ReadAll(path), before);
    EXPECT_EQ(HostProfile(path.toStdU16String()).GetInt(u"a"), 1);
    EXPECT_EQ(QDir(folder.path()).entryList(QDir::Files), QStringList{QStringLiteral("profile.json")});
}

TEST_F(ProfileFile, FailedWritesThroughTheTableAreShownOnceUntilOneSucceeds) {
    HostOptions options = OptionsIn(folder);
    options.profilePath = folder.filePath(QStringLiteral("blocked/profile.json"));
    WriteAll(folder.filePath(QStringLiteral("blocked")), "a file where the folder should be");
    VeltraHost host(options);
    int32_t value = 1;
    const HostFunctions* table = host.Bus().Table();
    EXPECT_EQ(table->CallService("Profile/SetInt", reinterpret_cast<intptr_t>(u"a"), &value), 0);
    EXPECT_EQ(table->CallService("Profile/SetInt", reinterpret_cast<intptr_t>(u"b"), &value), 0);
    ASSERT_EQ(boxes.boxes.size(), 1u);
    EXPECT_TRUE(boxes.boxes[0].text.starts_with(u"Профиль не сохранён: файл профиля "));
    // The session still reads what it was told.
    int32_t read = 0;
    EXPECT_EQ(table->CallService("Profile/GetInt", reinterpret_cast<intptr_t>(u"b"), &read), 1);
    EXPECT_EQ(read, 1);
}

TEST_F(ProfileFile, NonFiniteDoubleIsRefused) {
    HostProfile profile(path.toStdU16String());
    EXPECT_FALSE(profile.SetDouble(u"x", std::numeric_limits<double>::infinity()));
    EXPECT_EQ(profile.GetDouble(u"x"), std::nullopt);
    EXPECT_FALSE(QFile::exists(path));
}
