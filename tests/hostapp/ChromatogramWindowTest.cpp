// The chromatogram window: channels read through assay/ChannelSignal.h, drawn, and their peak tables.
#include "hostapp/ChromatogramWindow.h"
#include "hostapp/MainWindow.h"
#include "assay/ChannelSignal.h"
#include "hostapp/ChromatogramPlot.h"
#include "hostapp/ReadableText.h"
#include "hostapp/VeltraHost.h"
#include "support/MessageBoxRecorder.h"
#include "tests/hostapp/HostTestSupport.h"

#include <QImage>
#include <QPointer>
#include <QTabWidget>
#include <QTest>

#include <cmath>
#include <gtest/gtest.h>
#include <limits>

namespace {

// A Gaussian peak of the given height (in words) at `center` seconds, sampled every `step` seconds.
void AddPeakShape(AssayChannel& channel, size_t count, double step, double center, double height) {
    channel.samples.resize(count, 0);
    for (size_t i = 0; i < count; ++i) {
        const double t = i * step;
        channel.samples[i] += uint32_t(int32_t(height * std::exp(-(t - center) * (t - center) / 2.0)));
    }
}

AssayPeak Peak(const char16_t* name, double time, double area) {
    AssayPeak p;
    p.name = name;
    p.time = time;
    p.area = area;
    return p;
}

} // namespace

TEST(ChannelSignal, WordsAreSignedAndUnusableStepOrScaleReadAsOne) {
    AssayChannel channel;
    channel.signalParamA = 0.25;
    channel.signalParamB = 0.001;
    EXPECT_EQ(ChannelTimeStep(channel), 0.25);
    EXPECT_EQ(ChannelSignalScale(channel), 0.001);
    EXPECT_DOUBLE_EQ(SampleSignal(0xFFFFFFFFu, 0.5), -0.5);
    for (double bad :
         {0.0, -1.0, std::numeric_limits<double>::quiet_NaN(), std::numeric_limits<double>::infinity()}) {
        channel.signalParamA = bad;
        EXPECT_EQ(ChannelTimeStep(channel), 1.0) << bad;
    }
    channel.signalParamB = -2.0; // an inverted detector is a scale too
    EXPECT_EQ(ChannelSignalScale(channel), -2.0);
    channel.signalParamB = 0.0;
    EXPECT_EQ(ChannelSignalScale(channel), 1.0);
}

TEST(ChromatogramPlot, SpansTheRunAndTheScaledSignal) {
    AssayChannel channel;
    channel.signalParamA = 0.5;
    channel.signalParamB = 0.01;
    channel.samples = {0, 100, 400, uint32_t(-200), 0};
    ChromatogramPlot plot(channel, nullptr);
    EXPECT_EQ(plot.MaxTime(), 2.0);
    EXPECT_LT(plot.MinSignal(), -2.0); // -200 words, padded below
    EXPECT_GT(plot.MaxSignal(), 4.0);  // 400 words, padded above for the names
}

TEST(ChromatogramWindow, OneTabPerChannelWithTheSignalDrawnAndThePeakTable) {
    AssayPassport passport;
    passport.filePath = u"/data/run 7.vlt";
    passport.sample = u"Проба 7";
    passport.mixture = u"Воздух";
    std::list<AssayChannel> channels;
    AssayChannel& first = channels.emplace_back();
    first.number = 0;
    first.signalParamA = 0.1;
    first.signalParamB = 0.001;
    AddPeakShape(first, 3000, 0.1, 60, 50000);
    AddPeakShape(first, 3000, 0.1, 120, 20000);
    first.peaks = {Peak(u"метан", 60, 12.5), Peak(u"этан", 120, 4.25)};
    first.peaks[0].concent = 50;
    AssayChannel& second = channels.emplace_back();
    second.number = 3;

    ChromatogramWindow window(passport, channels, nullptr);
    EXPECT_EQ(window.windowTitle(), QStringLiteral("Хроматограмма: Проба 7 — run 7.vlt"));
    ASSERT_EQ(window.channelTabs->count(), 2);
    EXPECT_EQ(window.channelTabs->tabText(0), QStringLiteral("Канал 0"));
    EXPECT_EQ(window.channelTabs->tabText(1), QStringLiteral("Канал 3"));

    window.resize(800, 600);
    window.show();
    EXPECT_EQ(ReadableText(window.channelTabs->widget(0)),
              (QStringList{QStringLiteral("№\tИмя\tВремя, с\tПлощадь\tВысота\tКонцентрация"),
                           QStringLiteral("1\tметан\t60\t12.5\t0\t50"),
                           QStringLiteral("2\tэтан\t120\t4.25\t0\t—")})); // none, not a measured 0

    // The signal is drawn in its colour, and a channel without samples says so instead.
    auto* plot = window.channelTabs->widget(0)->findChild<ChromatogramPlot*>();
    ASSERT_NE(plot, nullptr);
    const QImage image = plot->grab().toImage();
    int signalPixels = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (QColor(image.pixel(x, y)).blue() > 120 && QColor(image.pixel(x, y)).red() < 90)
                ++signalPixels;
    EXPECT_GT(signalPixels, 200);
    EXPECT_NO_FATAL_FAILURE(window.channelTabs->widget(1)->findChild<ChromatogramPlot*>()->grab());
}

TEST(ChromatogramWindow, EscClosesIt) {
    QPointer<ChromatogramWindow> window = new ChromatogramWindow(AssayPassport{}, {}, nullptr);
    window->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window));
    QTest::keyClick(window, Qt::Key_Escape);
    EXPECT_TRUE(QTest::qWaitFor([&] { return window.isNull(); })); // closed, and deleted on close
}

TEST(OpenAssayFile, UnreadableFileIsShownWithItsCode) {
    QTemporaryDir folder;
    MessageBoxRecorder boxes;
    VeltraHost host(OptionsIn(folder));
    const std::u16string path = folder.filePath(QStringLiteral("absent.vlt")).toStdU16String();
    EXPECT_EQ(host.Bus().Table()->CallService("Main/OpenAssayFile", 1, const_cast<char16_t*>(path.c_str())),
              0);
    EXPECT_EQ(boxes.Texts(), std::vector<std::u16string>{u"Хроматограмма не открыта: " + path +
                                                         u"\nфайл не открывается (код -1)."});
    EXPECT_EQ(host.Bus().Table()->CallService("Main/OpenAssayFile", 1, nullptr), 0);
}

TEST(OpenAssayFile, OpensAWindowForAFileWrittenByTheFormat) {
    QTemporaryDir folder;
    MessageBoxRecorder boxes;
    HostOptions options = OptionsIn(folder);
    options.script = true;
    QStringList lines;
    VeltraHost host(options, [&lines](const QString& line) { lines << line; });

    CVeltraFile4 file;
    file.passport.sample = u"Проба 2 без патрона";
    AssayChannel& channel = file.channels.emplace_back();
    channel.number = 1;
    channel.signalParamA = 0.2;
    channel.signalParamB = 0.001;
    AddPeakShape(channel, 1500, 0.2, 100, 30000);
    channel.peaks = {Peak(u"метан", 100, 7.5)};
    const std::u16string path = folder.filePath(QStringLiteral("проба 2.vlt")).toStdU16String();
    ASSERT_EQ(file.SaveToFile(path), 0);

    EXPECT_EQ(host.Bus().Table()->CallService("Main/OpenAssayFile", 1, const_cast<char16_t*>(path.c_str())),
              1);
    EXPECT_TRUE(boxes.boxes.empty());
    EXPECT_EQ(lines, QStringList{QStringLiteral("Открыта хроматограмма: %1 (каналов: 1, пиков: 1)")
                                     .arg(QString::fromStdU16String(path))});
    auto* window = host.Window().findChild<ChromatogramWindow*>();
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Хроматограмма: Проба 2 без патрона — проба 2.vlt"));
    EXPECT_EQ(window->channelTabs->tabText(0), QStringLiteral("Канал 1"));
    EXPECT_EQ(window->channelTabs->widget(0)->findChild<ChromatogramPlot*>()->MaxTime(), 1499 * 0.2);
}
