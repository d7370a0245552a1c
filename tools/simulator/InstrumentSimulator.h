#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <map>

// Faults the simulated instrument can show, one switch each.
struct SimulatorFaults {
    bool m_bSilent = false;         // answers nothing at all
    int m_nGarbage = 0;             // answers the first n wake-up bytes of each wake with junk
    bool m_bRefuse = false;         // answers a wake-up with 0xFF
    bool m_bBadChecksum = false;    // sends a set with a wrong checksum word
    bool m_bShortSet = false;       // stops halfway through a set
    bool m_bAbsurdCount = false;    // announces an absurd word count
    long long m_nBlockCount = -1;   // >= 0: the block count K every set announces
    bool m_bBabble = false;         // once spoken to, sends junk without end
    bool m_bNoMode = false;         // never confirms a mode switch
    bool m_bEndlessListing = false; // a listing that never ends with '>'
};

// The measuring instrument's side of the serial protocol, byte in, bytes out: the program's
// wake-up byte 0x40 is answered with '>', "T<c>\n" with "<c>>", "D\n" (in mode V) with the set
// names and '>', "BG V<name>\n" with the word count, the set's bytes and their byte sum.
class InstrumentSimulator {
public:
    void AddSet(const QString& name, const QByteArray& data);
    // Serves every *.set file (a set's raw bytes) and every *.KTL file (converted: one block per
    // measurement number with the first two records of that number as A and B) of `dir`.
    bool LoadDirectory(const QString& dir, QString* error);
    QStringList Names() const;

    // The bytes the instrument sends back after receiving `in`.
    QByteArray Receive(const QByteArray& in);
    // With the babble fault: true once the program has said anything.
    bool Babbling() const { return m_bBabbling; }

    SimulatorFaults m_faults;
    int m_nWakeBytes = 0; // wake-up bytes received so far

private:
    void Command(const QByteArray& line, QByteArray& out);
    void SendSet(const QByteArray& name, QByteArray& out);

    std::map<QString, QByteArray> m_sets;
    QByteArray m_line;
    char m_cMode = 0;
    int m_nGarbageLeft = -1;
    bool m_bBabbling = false;
};

// A *.KTL file's records as a set: blocks for the numbers 1..max, A and B the first two
// records of each number.
QByteArray SetFromKtlFile(const QString& path, QString* error);
