#include "cli/Interruption.h"

#include <csignal>

namespace qzr::cli {

namespace {

volatile std::sig_atomic_t InterruptSeen = 0;

extern "C" void NoteInterrupt(int)
{
    InterruptSeen = 1;
}

} // namespace

void CatchInterruption()
{
    struct sigaction action {};
    action.sa_handler = NoteInterrupt;
    sigemptyset(&action.sa_mask);
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);
}

bool Interrupted()
{
    return InterruptSeen != 0;
}

} // namespace qzr::cli
