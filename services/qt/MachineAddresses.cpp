#include "MachineAddresses.h"

#include <QHostAddress>
#include <QNetworkInterface>
#include <algorithm>

namespace zorvi {

namespace {

bool IsUsable(const QHostAddress& address) {
    if (address.protocol() == QAbstractSocket::IPv6Protocol && address.isLinkLocal())
        return false;
    return address.protocol() == QAbstractSocket::IPv4Protocol ||
           address.protocol() == QAbstractSocket::IPv6Protocol;
}

} // namespace

std::vector<std::string> MachineAddresses() {
    std::vector<QHostAddress> found;
    for (const QNetworkInterface& face : QNetworkInterface::allInterfaces()) {
        if (!(face.flags() & QNetworkInterface::IsUp))
            continue;
        for (const QNetworkAddressEntry& entry : face.addressEntries()) {
            const QHostAddress address = entry.ip();
            if (IsUsable(address))
                found.push_back(address);
        }
    }
    const auto rank = [](const QHostAddress& a) {
        const bool v6 = a.protocol() == QAbstractSocket::IPv6Protocol;
        return (v6 ? 2 : 0) + (a.isLoopback() ? 1 : 0);
    };
    std::stable_sort(found.begin(), found.end(), [&](const QHostAddress& a, const QHostAddress& b) {
        return rank(a) < rank(b);
    });
    std::vector<std::string> texts;
    for (const QHostAddress& address : found) {
        const std::string text = address.toString().toStdString();
        if (std::find(texts.begin(), texts.end(), text) == texts.end())
            texts.push_back(text);
    }
    return texts;
}

} // namespace zorvi
