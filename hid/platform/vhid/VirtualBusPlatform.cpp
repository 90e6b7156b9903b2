#include "hid/platform/vhid/VirtualBusPlatform.h"

#include "hid/platform/FileDescriptor.h"
#include "hid/platform/HidWakeSignal.h"
#include "hid/platform/vhid/VirtualBusDescriptor.h"
#include "hid/platform/vhid/VirtualBusWatcher.h"

#include <QDir>
#include <QFile>
#include <algorithm>
#include <array>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <poll.h>
#include <string>
#include <sys/socket.h>
#include <sys/un.h>
#include <vector>

namespace qzr {

namespace {

constexpr std::uint8_t SharedOpenRequest = 0x01;
constexpr std::uint8_t Opened = 0x00;

// A server answers the open request at once; this only keeps a server that never answers from
// hanging the caller.
constexpr int OpenReplyTimeoutMs = 2000;

// Reports are 1 + report_size bytes; a larger buffer takes any report whole, of which the layer
// uses the report ID and the first 8 data bytes.
constexpr std::size_t LargestReport = 1 + 4096;

const std::string SocketSuffix = ".sock";
const std::string DescriptorSuffix = ".dev";

bool IsDeviceName(const std::string& Name)
{
    return !Name.empty() && std::all_of(Name.begin(), Name.end(), [](unsigned char c) {
        return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
               c == '_' || c == '-';
    });
}

QString DescriptorFileOf(const QString& SocketPath)
{
    return SocketPath.left(SocketPath.size() - qsizetype(SocketSuffix.size())) +
           QString::fromStdString(DescriptorSuffix);
}

FileDescriptor ConnectShared(const QString& SocketPath)
{
    const QByteArray path = QFile::encodeName(SocketPath);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    if (path.size() >= qsizetype(sizeof address.sun_path))
        return {};
    std::memcpy(address.sun_path, path.constData(), std::size_t(path.size()));

    FileDescriptor socket(::socket(AF_UNIX, SOCK_SEQPACKET | SOCK_CLOEXEC, 0));
    if (!socket.Valid())
        return {};
    if (::connect(socket.Get(), reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0)
        return {};
    if (::send(socket.Get(), &SharedOpenRequest, 1, MSG_NOSIGNAL) != 1)
        return {};

    pollfd reply{socket.Get(), POLLIN, 0};
    int ready = 0;
    do {
        ready = ::poll(&reply, 1, OpenReplyTimeoutMs);
    } while (ready < 0 && errno == EINTR);
    if (ready <= 0)
        return {};
    std::uint8_t answer = 0xFF;
    if (::recv(socket.Get(), &answer, 1, 0) != 1 || answer != Opened)
        return {};
    return socket;
}

class VirtualBusDeviceHandle : public HidDeviceHandle {
public:
    VirtualBusDeviceHandle(FileDescriptor Socket, QString DescriptorFile)
        : FSocket(std::move(Socket)), FDescriptorFile(std::move(DescriptorFile))
    {}

    HidAttributes Attributes() override
    {
        return VirtualBusDescriptor::Read(FDescriptorFile).Attributes();
    }

    QString String(HidString Which) override
    {
        const auto descriptor = VirtualBusDescriptor::Read(FDescriptorFile);
        switch (Which) {
        case HidString::Manufacturer:
            return descriptor.Text("manufacturer");
        case HidString::Product:
            return descriptor.Text("product");
        case HidString::SerialNumber:
            return descriptor.Text("serial");
        }
        return {};
    }

    QString IndexedString(std::uint32_t StringIndex) override
    {
        return VirtualBusDescriptor::Read(FDescriptorFile)
            .Text("string." + std::to_string(StringIndex));
    }

    std::optional<std::size_t> Write(const THidReport& Report) override
    {
        const auto sent = ::send(FSocket.Get(), Report.data(), Report.size(), MSG_NOSIGNAL);
        if (sent < 0)
            return std::nullopt;
        return std::size_t(sent);
    }

    bool WaitForInput(const HidWakeSignal& Wake) override
    {
        return Wake.WaitForInput(FSocket.Get()) != HidWakeSignal::Wait::Woken;
    }

    HidReadOutcome Read(THidReport& Report) override
    {
        const auto received = ::recv(FSocket.Get(), FBuffer.data(), FBuffer.size(), MSG_DONTWAIT);
        if (received < 0 && (errno == EINTR || errno == EAGAIN))
            return HidReadOutcome::NotReady;
        if (received <= 0)
            return HidReadOutcome::Failed;
        Report.fill(0);
        std::copy_n(FBuffer.begin(), std::min(std::size_t(received), Report.size()),
                    Report.begin());
        return HidReadOutcome::Report;
    }

private:
    FileDescriptor FSocket;
    QString FDescriptorFile;
    std::array<std::uint8_t, LargestReport> FBuffer{};
};

} // namespace

VirtualBusPlatform::VirtualBusPlatform(const QString& BusDirectory)
    : FBusDirectory(QDir(BusDirectory).absolutePath())
{}

QStringList VirtualBusPlatform::EnumerateDevicePaths()
{
    const std::filesystem::path directory = QFile::encodeName(FBusDirectory).toStdString();
    std::vector<std::string> names;
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(directory, error)) {
        const std::string file = entry.path().filename().string();
        if (file.size() <= SocketSuffix.size() || !file.ends_with(SocketSuffix))
            continue;
        const std::string name = file.substr(0, file.size() - SocketSuffix.size());
        std::error_code missing;
        if (IsDeviceName(name) &&
            std::filesystem::exists(directory / (name + DescriptorSuffix), missing))
            names.push_back(name);
    }
    std::sort(names.begin(), names.end());

    QStringList paths;
    for (const auto& name : names)
        paths.push_back(FBusDirectory + '/' + QString::fromStdString(name + SocketSuffix));
    return paths;
}

std::unique_ptr<HidDeviceHandle> VirtualBusPlatform::OpenShared(const QString& DevicePath)
{
    if (!DevicePath.endsWith(QString::fromStdString(SocketSuffix)))
        return nullptr;
    FileDescriptor socket = ConnectShared(DevicePath);
    if (!socket.Valid())
        return nullptr;
    return std::make_unique<VirtualBusDeviceHandle>(std::move(socket),
                                                    DescriptorFileOf(DevicePath));
}

std::unique_ptr<QObject> VirtualBusPlatform::WatchDeviceChanges(std::function<void()> OnChange)
{
    return std::make_unique<VirtualBusWatcher>(FBusDirectory, std::move(OnChange));
}

} // namespace qzr
