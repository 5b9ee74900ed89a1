#include "engine/line_buffer.h"

#include <cstring>

void PrepareLineBuffer(unsigned char (&buffer)[kLineBufferSize]) {
    std::memset(buffer, 0, sizeof buffer);
    std::memcpy(buffer, &kLineCapacity, sizeof kLineCapacity);  // the word in machine order
}

Text TextFromLineBuffer(const unsigned char (&buffer)[kLineBufferSize], intptr_t copied) {
    if (copied <= 0) return JoinTexts({});
    if (copied > kLineCapacity) copied = kLineCapacity;
    Text line = BytesToText(buffer, static_cast<int32_t>(copied));
    return line ? line : JoinTexts({});
}
