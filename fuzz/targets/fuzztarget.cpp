// One libFuzzer target; VOLDAR_FUZZ_TARGET names its entry function.
#include "fuzzentries.h"

#include <cstdio>
#include <cstdlib>
#include <QLocale>

namespace {

voldarfuzz::Entry entry = nullptr;

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    // Number forms must never depend on the machine's locale.
    QLocale::setDefault(QLocale::c());
    entry = voldarfuzz::entryNamed(VOLDAR_FUZZ_TARGET);
    if (!entry) {
        std::fprintf(stderr, "no fuzz entry named %s\n", VOLDAR_FUZZ_TARGET);
        std::abort();
    }
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    return entry(data, size);
}
