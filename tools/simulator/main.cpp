// quivra-instrument-sim: a stand-in for the measuring instrument on a pseudo-terminal.
// Prints the device path to open (first line of stdout), then answers the serial protocol with
// the sets of a directory until it is interrupted (or, with --stdin-lifeline, its input ends).
#include "InstrumentSimulator.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QElapsedTimer>

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <termios.h>
#include <unistd.h>

namespace {

volatile std::sig_atomic_t g_stop = 0;

void OnSignal(int) {
    g_stop = 1;
}

// With `slowMs` > 0 the answers leave one byte every slowMs milliseconds, as from an
// instrument on a poor line.
int Serve(int master, InstrumentSimulator& sim, bool watchStdin, int slowMs) {
    QByteArray pending; // answers not yet taken by the line
    char buf[4096];
    QElapsedTimer sinceWrite;
    sinceWrite.start();
    while (!g_stop) {
        if (sim.Babbling() && pending.size() < 4096)
            pending += QByteArray(4096, 'z');
        const qint64 wait = slowMs - sinceWrite.elapsed();
        const bool paced = slowMs > 0 && wait > 0;
        pollfd fds[2] = {{master, short(POLLIN | (pending.isEmpty() || paced ? 0 : POLLOUT)), 0},
                         {STDIN_FILENO, POLLIN, 0}};
        const int n = poll(fds, watchStdin ? 2 : 1, paced && !pending.isEmpty() ? int(wait) : 500);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            std::perror("poll");
            return 1;
        }
        if (watchStdin && (fds[1].revents & (POLLIN | POLLHUP))) {
            const ssize_t r = read(STDIN_FILENO, buf, sizeof buf);
            if (r <= 0)
                return 0; // whoever started us is gone
        }
        if (fds[0].revents & POLLIN) {
            const ssize_t r = read(master, buf, sizeof buf);
            if (r > 0)
                pending += sim.Receive(QByteArray(buf, int(r)));
        }
        if ((fds[0].revents & POLLOUT) && !pending.isEmpty()) {
            const std::size_t count = slowMs > 0 ? 1 : std::size_t(pending.size());
            const ssize_t w = write(master, pending.constData(), count);
            if (w > 0) {
                pending.remove(0, w);
                sinceWrite.restart();
            }
        }
    }
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Simulated measuring instrument on a pseudo-terminal. Serves every *.set "
                       "and *.KTL file of DIR as a set named after the file."));
    parser.addHelpOption();
    parser.addPositionalArgument(QStringLiteral("DIR"), QStringLiteral("directory of sets"));
    const QCommandLineOption silent(QStringLiteral("silent"), QStringLiteral("answer nothing"));
    const QCommandLineOption garbage(QStringLiteral("garbage"),
                                     QStringLiteral("answer the first N wake-up bytes with junk"),
                                     QStringLiteral("N"));
    const QCommandLineOption refuse(QStringLiteral("refuse"),
                                    QStringLiteral("answer wake-up bytes with 0xFF"));
    const QCommandLineOption badChecksum(QStringLiteral("bad-checksum"),
                                         QStringLiteral("send sets with a wrong checksum"));
    const QCommandLineOption shortSet(QStringLiteral("short-set"),
                                      QStringLiteral("stop halfway through a set"));
    const QCommandLineOption absurdCount(QStringLiteral("absurd-count"),
                                         QStringLiteral("announce an absurd word count"));
    const QCommandLineOption blocks(QStringLiteral("blocks"),
                                    QStringLiteral("announce K blocks in every set"),
                                    QStringLiteral("K"));
    const QCommandLineOption babble(QStringLiteral("babble"),
                                    QStringLiteral("once spoken to, send junk without end"));
    const QCommandLineOption noMode(QStringLiteral("no-mode"),
                                    QStringLiteral("never confirm a mode switch"));
    const QCommandLineOption endlessListing(QStringLiteral("endless-listing"),
                                            QStringLiteral("never end a listing with '>'"));
    const QCommandLineOption slow(QStringLiteral("slow"),
                                  QStringLiteral("send one byte every MS milliseconds"),
                                  QStringLiteral("MS"));
    const QCommandLineOption lifeline(
        QStringLiteral("stdin-lifeline"),
        QStringLiteral("exit when standard input ends (for scripts and tests)"));
    parser.addOptions({silent, garbage, refuse, badChecksum, shortSet, absurdCount, blocks, babble,
                       noMode, endlessListing, slow, lifeline});
    parser.process(app);
    if (parser.positionalArguments().size() != 1)
        parser.showHelp(2);

    InstrumentSimulator sim;
    QString error;
    if (!sim.LoadDirectory(parser.positionalArguments().first(), &error)) {
        std::fprintf(stderr, "%s\n", qPrintable(error));
        return 1;
    }
    SimulatorFaults& f = sim.m_faults;
    f.m_bSilent = parser.isSet(silent);
    f.m_nGarbage = parser.value(garbage).toInt();
    f.m_bRefuse = parser.isSet(refuse);
    f.m_bBadChecksum = parser.isSet(badChecksum);
    f.m_bShortSet = parser.isSet(shortSet);
    f.m_bAbsurdCount = parser.isSet(absurdCount);
    f.m_nBlockCount = parser.isSet(blocks) ? parser.value(blocks).toLongLong() : -1;
    f.m_bBabble = parser.isSet(babble);
    f.m_bNoMode = parser.isSet(noMode);
    f.m_bEndlessListing = parser.isSet(endlessListing);

    int master = -1, slave = -1;
    if (openpty(&master, &slave, nullptr, nullptr, nullptr) != 0) {
        std::perror("openpty");
        return 1;
    }
    // Raw before anyone opens the device; the slave stays open here so that the line survives
    // the program closing its port between operations.
    termios tio;
    tcgetattr(slave, &tio);
    cfmakeraw(&tio);
    tcsetattr(slave, TCSANOW, &tio);
    fcntl(master, F_SETFL, fcntl(master, F_GETFL) | O_NONBLOCK);

    std::signal(SIGINT, OnSignal);
    std::signal(SIGTERM, OnSignal);
    std::printf("%s\n", ttyname(slave));
    std::fflush(stdout);
    std::fprintf(stderr, "serving %lld set(s): %s\n", static_cast<long long>(sim.Names().size()),
                 qPrintable(sim.Names().join(QLatin1Char(' '))));
    const int rc = Serve(master, sim, parser.isSet(lifeline), parser.value(slow).toInt());
    close(slave);
    close(master);
    return rc;
}
