// The yardstick of bench/StartupBench: the least a Qt Widgets program does before its window
// shows something: a main window with a menu bar and a central widget, shown and painted once.
// Prints "yardstick: painted" after that first paint, then quits.
#include <QApplication>
#include <QMainWindow>
#include <QMenuBar>
#include <QPainter>
#include <QTimer>

#include <cstdio>

namespace {

class CPaintedOnce : public QWidget {
protected:
    void paintEvent(QPaintEvent*) override {
        QPainter(this).fillRect(rect(), Qt::white);
        if (m_bSaid)
            return;
        m_bSaid = true;
        std::printf("yardstick: painted\n");
        std::fflush(stdout);
        QTimer::singleShot(0, qApp, &QCoreApplication::quit);
    }

private:
    bool m_bSaid = false;
};

} // namespace

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    QMainWindow window;
    window.menuBar()->addMenu(QStringLiteral("&File"))->addAction(QStringLiteral("E&xit"));
    window.menuBar()->addMenu(QStringLiteral("&Help"))->addAction(QStringLiteral("&About"));
    window.setCentralWidget(new CPaintedOnce);
    window.resize(1000, 720);
    window.show();
    return application.exec();
}
