#pragma once
// The addresses by which phones on the venue's network reach this computer, for the first line
// of `serve` (the window lists its own, from Qt).
#include <string>
#include <vector>

namespace quelna {

// "http://a.b.c.d:port/" for every IPv4 address of an interface that is up, loopback excluded,
// when host is the wildcard; the one address otherwise ("[…]" around an IPv6 one). With no such
// interface, the loopback address, which only this computer can open.
std::vector<std::string> pageUrls(const std::string& host, int port);

} // namespace quelna
