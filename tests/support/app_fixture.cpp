#include "app_fixture.h"

#include "app/Plotdesk.h"
#include "app/appforms.h"
#include "workspace/core/sample_stream.h"
#include "workspace/forms/wfmchild.h"

#include <QApplication>
#include <QEvent>
#include <QLabel>
#include <QTest>
#include <QTimer>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

void AppTest::SetUp() {
    static int counter = 0;
    dir_ = std::string(std::getenv("HOME")) + "/t" + std::to_string(++counter);
    std::filesystem::create_directories(dir_);
    plotwell::CreateApplicationForms();
    PWForm1->show();
    PWForm1->FormActivate();
    processEvents();
    ui.clear();
}

void AppTest::TearDown() {
    plotwell::DestroyApplicationForms();
    processEvents();
}

void AppTest::processEvents() {
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QApplication::processEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

void AppTest::writeFile(const std::string& path, const std::string& bytes) {
    std::ofstream f(path, std::ios::binary);
    f.write(bytes.data(), std::streamsize(bytes.size()));
}

std::string AppTest::readFile(const std::string& path) {
    std::ifstream f(path, std::ios::binary);
    std::ostringstream s;
    s << f.rdbuf();
    return s.str();
}

int AppTest::runUntilExit(int ms) {
    QTimer watchdog;
    watchdog.setSingleShot(true);
    QObject::connect(&watchdog, &QTimer::timeout, [] { QCoreApplication::exit(-1); });
    watchdog.start(ms);
    return QCoreApplication::exec();
}

TWFMform* AppTest::newWindow() {
    PWForm1->New1Click();
    return CurrentWaveWindow;
}

TWFMform* AppTest::newWindow(int n, uint16_t r, const std::function<uint16_t(int)>& code, const char* name) {
    TWFMform* w = newWindow();
    w->Doc.SampleStream = std::make_unique<plotwell::workspace::SampleStream>(r, std::size_t(n));
    for (int i = 0; i < n; ++i)
        w->Doc.SampleStream->setCode(std::size_t(i), code(i));
    w->Doc.FileType = plotwell::workspace::WaveFileType::Internal;
    w->Doc.WaveName = name;
    w->Doc.SelectionStart = 0;
    w->Doc.SelectionEnd = n - 1;
    return w;
}

std::vector<std::string> AppTest::statusPanel() {
    std::vector<std::string> out;
    for (QLabel* l : {PWForm1->WaveInfo1, PWForm1->WaveInfo2, PWForm1->WaveInfo3, PWForm1->WaveInfo4,
                      PWForm1->WaveInfo5, PWForm1->WaveInfo6})
        out.push_back(l->text().toStdString());
    return out;
}

void AppTest::drag(QWidget* target, QPoint from, QPoint to) {
    QTest::mousePress(target, Qt::LeftButton, {}, from);
    QTest::mouseMove(target, (from + to) / 2);
    QTest::mouseMove(target, to);
    QTest::mouseRelease(target, Qt::LeftButton, {}, to);
}
