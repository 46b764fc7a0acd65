#include "platform/posix/listen_socket.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>

namespace tarvik::platform::listen_socket {

// SO_REUSEADDR lets a restarted server take its port while old connections linger, without
// letting a second listener share it (which SO_REUSEPORT would).
void Prepare(std::uintptr_t socket) {
  const int yes = 1;
  static_cast<void>(
      ::setsockopt(static_cast<int>(socket), SOL_SOCKET, SO_REUSEADDR, &yes, sizeof(yes)));
}

ListenResult WhyBindFails(const std::string& address, uint16_t port) {
  sockaddr_in where{};
  where.sin_family = AF_INET;
  where.sin_port = htons(port);
  if (::inet_pton(AF_INET, address.c_str(), &where.sin_addr) != 1)
    return ListenResult::AddressNotAvailable;
  const int probe = ::socket(AF_INET, SOCK_STREAM, 0);
  if (probe < 0)
    return ListenResult::Failed;
  Prepare(static_cast<std::uintptr_t>(probe));
  ListenResult result = ListenResult::Failed;
  if (::bind(probe, reinterpret_cast<const sockaddr*>(&where), sizeof(where)) != 0) {
    if (errno == EADDRINUSE)
      result = ListenResult::AddressInUse;
    else if (errno == EADDRNOTAVAIL)
      result = ListenResult::AddressNotAvailable;
  }
  ::close(probe);
  return result;
}

}  // namespace tarvik::platform::listen_socket
