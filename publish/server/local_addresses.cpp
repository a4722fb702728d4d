#include "publish/server/local_addresses.h"

#ifndef _WIN32
#include <arpa/inet.h>
#include <ifaddrs.h>
#include <net/if.h>
#include <netinet/in.h>
#endif

namespace quelna {

namespace {

std::string url(const std::string& address, int port) {
    const bool v6 = address.find(':') != std::string::npos && address.front() != '[';
    return "http://" + (v6 ? "[" + address + "]" : address) + ':' + std::to_string(port) + '/';
}

std::vector<std::string> interfaceAddresses() {
    std::vector<std::string> found;
#ifndef _WIN32
    ifaddrs* list = nullptr;
    if (::getifaddrs(&list) != 0)
        return found;
    for (const ifaddrs* i = list; i; i = i->ifa_next) {
        if (!i->ifa_addr || i->ifa_addr->sa_family != AF_INET || !(i->ifa_flags & IFF_UP) ||
            (i->ifa_flags & IFF_LOOPBACK))
            continue;
        char text[INET_ADDRSTRLEN] = {};
        const auto* in = reinterpret_cast<const sockaddr_in*>(i->ifa_addr);
        if (::inet_ntop(AF_INET, &in->sin_addr, text, sizeof text))
            found.emplace_back(text);
    }
    ::freeifaddrs(list);
#endif
    return found;
}

} // namespace

std::vector<std::string> pageUrls(const std::string& host, int port) {
    std::vector<std::string> urls;
    if (host != "0.0.0.0" && host != "::" && host != "[::]") {
        urls.push_back(url(host == "localhost" ? std::string("127.0.0.1") : host, port));
        return urls;
    }
    for (const std::string& a : interfaceAddresses())
        urls.push_back(url(a, port));
    if (urls.empty())
        urls.push_back(url("127.0.0.1", port));
    return urls;
}

} // namespace quelna
