#pragma once
// The user, as the benchmarks see it: nothing is asked, every question gets
// the plain answer, and error boxes are counted, so that a run which fails is
// not taken for a fast one.
#include "platform/ports.h"

#include <cstdio>
#include <vector>

namespace bench {

class CountingPorts : public ports::UserPorts {
public:
    int errors = 0;
    bool printAccepted = false;

    int MsgBox(const QString &, int, const QString &) override { return ports::Ok; }
    QString InputBox(const QString &, const QString &, const QString &) override { return {}; }
    QString OpenFileName(const QString &, const QString &, const QString &) override { return {}; }
    QString SaveFileName(const QString &, const QString &, const QString &, const QString &) override { return {}; }
    bool PrintDialog() override { return printAccepted; }
    void ErrorBox(const QString &text, const QString &) override
    {
        if (errors++ == 0)
            std::fprintf(stderr, "error box: %s\n", qPrintable(text));
    }
    void ProgressShow(const QString &, const QString &, int) override {}
    void ProgressValue(int) override {}
    void ProgressClose() override {}
    qint32 ChooseOne(int, qint32, const std::vector<ports::ChooserItem> &) override { return -1; }
    std::vector<int> ChooseStatGains(int, const std::vector<int> &forced, int) override { return forced; }
};

} // namespace bench
