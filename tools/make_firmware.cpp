// Writes the stand-in for the Zodeduri's firmware that the updater carries
// built in. The real firmware is not ours to ship; this image has the same
// shape (543 SysEx messages, 270432 bytes) so that the upload paces exactly
// as it would with the real one. Deterministic: the same bytes every run.
//
//   make_firmware <output.syx>
//
// Layout, all under the non-commercial manufacturer id 7D, model 5A:
//   F0 7D 5A 01 <major> <minor> <rev hi> <rev lo> F7        begin update (9 bytes)
//   F0 7D 5A 03 <seq hi> <seq lo> <params...> <sum> F7      parameter block (537 bytes)
//   F0 7D 5A 02 <seq hi> <seq lo> <payload...> <sum> F7     data block (504 bytes, the
//                                                           last of each section shorter)
//   F0 7D 5A 04 <blocks hi> <blocks lo> <sections> <sum> F7 end update (9 bytes)
// <sum> is the two's complement of the 7-bit sum of the bytes after the
// command byte, so that those bytes plus <sum> add up to 0 modulo 128.
#include <cstdint>
#include <cstdio>
#include <vector>

namespace
{
using Bytes = std::vector<std::uint8_t>;

std::uint32_t lcgState = 0x5A0D0DE5u;

std::uint8_t nextDataByte()
{
    lcgState = lcgState * 1664525u + 1013904223u;
    return static_cast<std::uint8_t>((lcgState >> 16) & 0x7F);
}

void appendMessage(Bytes& image, std::uint8_t command, const Bytes& body)
{
    Bytes message{0xF0, 0x7D, 0x5A, command};
    unsigned sum = 0;
    for (auto b : body)
    {
        message.push_back(b);
        sum += b;
    }
    message.push_back(static_cast<std::uint8_t>((128 - (sum & 0x7F)) & 0x7F));
    message.push_back(0xF7);
    image.insert(image.end(), message.begin(), message.end());
}

Bytes block(unsigned sequence, unsigned payloadBytes)
{
    Bytes body{static_cast<std::uint8_t>((sequence >> 7) & 0x7F), static_cast<std::uint8_t>(sequence & 0x7F)};
    for (unsigned i = 0; i < payloadBytes; ++i)
        body.push_back(nextDataByte());
    return body;
}
} // namespace

int main(int argc, char** argv)
{
    if (argc != 2)
    {
        std::fprintf(stderr, "usage: make_firmware <output.syx>\n");
        return 2;
    }

    const unsigned overhead = 8; // F0 7D 5A cmd seq seq ... sum F7
    const unsigned sectionBlocks[] = {108, 108, 108, 108, 108};
    const unsigned sectionTail[] = {47, 47, 47, 47, 49};

    Bytes image;
    // Begin: version 1.2, revision 675 = 5 * 128 + 35.
    image.insert(image.end(), {0xF0, 0x7D, 0x5A, 0x01, 0x01, 0x02, 0x05, 0x23, 0xF7});

    unsigned sequence = 0;
    appendMessage(image, 0x03, block(sequence++, 537 - overhead));

    for (unsigned s = 0; s < 5; ++s)
    {
        for (unsigned b = 0; b + 1 < sectionBlocks[s]; ++b)
            appendMessage(image, 0x02, block(sequence++, 504 - overhead));
        appendMessage(image, 0x02, block(sequence++, sectionTail[s] - overhead));
    }

    const unsigned blocks = sequence;
    appendMessage(
        image, 0x04,
        {static_cast<std::uint8_t>((blocks >> 7) & 0x7F), static_cast<std::uint8_t>(blocks & 0x7F), 5});

    std::FILE* out = std::fopen(argv[1], "wb");
    if (out == nullptr || std::fwrite(image.data(), 1, image.size(), out) != image.size() ||
        std::fclose(out) != 0)
    {
        std::perror(argv[1]);
        return 1;
    }
    return 0;
}
