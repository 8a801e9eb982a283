// Feeds arbitrary bytes to the network packet decoder and checks what must hold for any packet:
// a packet that decodes is within bounds and encodes back to exactly the same bytes.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <span>

#include "protocol.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::optional<blok::net::Message> message = blok::net::Decode(std::span(data, size));
    if (!message) return 0;
    const std::vector<std::uint8_t> again = blok::net::Encode(*message);
    if (size > blok::net::kMaxPacketBytes || again.size() != size ||
        !std::equal(again.begin(), again.end(), data)) {
        std::fprintf(stderr, "a decoded packet does not encode back to itself\n");
        std::abort();
    }
    return 0;
}
