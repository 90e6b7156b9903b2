#include "KernelGuest.h"

#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QTemporaryDir>
#include <QTimer>
#include <gtest/gtest.h>

#include <csignal>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <spawn.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace qzr::kernel {
namespace {

constexpr auto StartLimit = std::chrono::seconds(60);

QString ControlSocket;

QString UeventValue(const QString& Directory, const QString& Key)
{
    QFile file(Directory + QStringLiteral("/uevent"));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    for (const auto& line : QString::fromUtf8(file.readAll()).split('\n'))
        if (line.startsWith(Key + '='))
            return line.mid(Key.size() + 1);
    return {};
}

// qzr-sim --uhid for the whole run, stopped with "quit" at the end. The kernel keeps only 64
// input reports for each reader, and the emulated machine runs the program many times slower
// than real hardware: the bridge clocks its SPI bytes at once (a poll at the real 4000 bit/s
// holds the GUI thread for most of a tenth of a second) and the HID cradle reports every 2 ms,
// so that the GUI thread keeps up with the HID cradle. Reports lost during the handshake would
// leave the HID cradle's unit without a session (the HID link does not repeat its greeting).
class SimulatorInGuest : public testing::Environment {
public:
    void SetUp() override
    {
        if (qEnvironmentVariableIsEmpty("QZR_KERNEL_GUEST"))
            GTEST_SKIP() << "runs only inside the kernel rig's guest (scripts/kernel-rig.sh)";
        ASSERT_TRUE(FControlDirectory.isValid());
        ControlSocket = FControlDirectory.filePath(QStringLiteral(".control"));
        const std::string log =
            FControlDirectory.filePath(QStringLiteral("qzr-sim.log")).toStdString();
        std::vector<std::string> arguments = {QZR_SIM_PROGRAM,
                                              "--uhid",
                                              "--spi-instant",
                                              "--report-interval",
                                              "2000",
                                              "--bus",
                                              FControlDirectory.path().toStdString(),
                                              "--hid",
                                              std::string(HidCradleName) + ":unit=00A1B2C3",
                                              "--bridge",
                                              std::string(BridgeCradleName) + ":unit=00A1B2D7"};
        std::vector<char*> argv;
        for (auto& argument : arguments)
            argv.push_back(argument.data());
        argv.push_back(nullptr);
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
        posix_spawn_file_actions_addopen(&actions, 1, log.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                         0600);
        posix_spawn_file_actions_adddup2(&actions, 1, 2);
        const int spawned =
            posix_spawn(&FPid, QZR_SIM_PROGRAM, &actions, nullptr, argv.data(), environ);
        posix_spawn_file_actions_destroy(&actions);
        ASSERT_EQ(spawned, 0) << "cannot start " << QZR_SIM_PROGRAM;
        ASSERT_TRUE(WaitFor(
            [] {
                return !HidrawNodeOf(HidCradleSerial).isEmpty() &&
                       !HidrawNodeOf(BridgeSerial).isEmpty() &&
                       SimulatorCommand("list").find(BridgeCradleName) != std::string::npos;
            },
            StartLimit))
            << "the simulator's kernel devices did not appear:\n"
            << SimulatorLog();
    }

    void TearDown() override
    {
        if (FPid <= 0)
            return;
        SimulatorCommand("quit");
        int status = 0;
        const bool ended = WaitFor([&] { return ::waitpid(FPid, &status, WNOHANG) == FPid; });
        if (!ended) {
            ::kill(FPid, SIGKILL);
            ::waitpid(FPid, &status, 0);
        }
        EXPECT_TRUE(ended && WIFEXITED(status) && WEXITSTATUS(status) == 0)
            << "qzr-sim did not stop cleanly:\n"
            << SimulatorLog();
        EXPECT_TRUE(WaitFor([] { return HidrawNodeOf(HidCradleSerial).isEmpty(); }))
            << "its kernel devices stay after it stopped";
    }

private:
    std::string SimulatorLog() const
    {
        QFile log(FControlDirectory.filePath(QStringLiteral("qzr-sim.log")));
        return log.open(QIODevice::ReadOnly) ? log.readAll().toStdString() : std::string();
    }

    QTemporaryDir FControlDirectory;
    pid_t FPid = -1;
};

[[maybe_unused]] testing::Environment* const Simulator =
    testing::AddGlobalTestEnvironment(new SimulatorInGuest);

} // namespace

std::string SimulatorCommand(const std::string& Line)
{
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    const QByteArray path = QFile::encodeName(ControlSocket);
    std::strncpy(address.sun_path, path.constData(), sizeof address.sun_path - 1);
    std::string reply;
    if (::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0) {
        const std::string request = Line + "\n";
        if (::send(fd, request.data(), request.size(), MSG_NOSIGNAL) ==
            static_cast<ssize_t>(request.size())) {
            ::shutdown(fd, SHUT_WR);
            timeval limit{10, 0};
            ::setsockopt(fd, SOL_SOCKET, SO_RCVTIMEO, &limit, sizeof limit);
            char buffer[4096];
            for (ssize_t received; (received = ::recv(fd, buffer, sizeof buffer, 0)) > 0;)
                reply.append(buffer, std::size_t(received));
        }
    }
    ::close(fd);
    return reply;
}

QString HidrawNodeOf(const char* Serial)
{
    const QDir classDirectory(QStringLiteral("/sys/class/hidraw"));
    for (const auto& name :
         classDirectory.entryList(QDir::Dirs | QDir::NoDotAndDotDot | QDir::System)) {
        const QString hidDevice = classDirectory.filePath(name) + QStringLiteral("/device");
        if (UeventValue(hidDevice, QStringLiteral("HID_UNIQ")) == QLatin1String(Serial) &&
            QFile::exists(QStringLiteral("/dev/") + name))
            return QStringLiteral("/dev/") + name;
    }
    return {};
}

int HidrawDeviceCount()
{
    return int(QDir(QStringLiteral("/sys/class/hidraw"))
                   .entryList(QDir::Dirs | QDir::NoDotAndDotDot | QDir::System)
                   .size());
}

// The event loop waits in the system as a program's does, so that the readers' hand-offs run the
// moment they come; the condition is looked at every few milliseconds.
bool WaitFor(const std::function<bool()>& Condition, std::chrono::milliseconds Limit)
{
    bool met = Condition();
    if (met)
        return true;
    QEventLoop loop;
    QTimer look;
    QObject::connect(&look, &QTimer::timeout, &loop, [&] {
        met = Condition();
        if (met)
            loop.quit();
    });
    look.start(5);
    QTimer::singleShot(Limit, &loop, &QEventLoop::quit);
    loop.exec();
    return met;
}

} // namespace qzr::kernel
