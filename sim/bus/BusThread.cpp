#include "sim/bus/BusThread.h"

namespace sim {

BusThread::BusThread(EventLoop& loop) : loop_(loop), thread_([this] { loop_.run(); }) {}

BusThread::~BusThread()
{
    stop();
}

void BusThread::stop()
{
    if (thread_.joinable()) {
        loop_.stop();
        thread_.join();
    }
}

} // namespace sim
