// Writes the fuzzers' seed corpus: containers for the parser (two leading bytes of
// step seed first) and the same containers compressed for the decode driver.
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "ContainerBuilder.h"
#include "LzmaTestEncoder.h"
#include "ScratchFolder.h"

namespace {

std::vector<uint8_t> Bytes(const std::string& text)
{
    return {text.begin(), text.end()};
}

std::vector<std::pair<std::string, CContainerBuilder>> Seeds()
{
    std::vector<std::pair<std::string, CContainerBuilder>> seeds;
    seeds.emplace_back("empty", CContainerBuilder{});
    {
        CContainerBuilder b;
        const uint16_t a = b.AddName("a.txt");
        const uint16_t d = b.AddName("dir\\sub\\b.bin");
        b.AddName("unreferenced.txt");
        b.AddChunk(Bytes("hello "), {{a, 0, 0}, {d, 0, 5}});
        b.AddChunk(Bytes("world"), {{a, 0, 6}, {d, 0, 0}});
        b.AddChunk({}, {{a, 0, 11}});
        b.AddTrailingData(Bytes("beyond"));
        seeds.emplace_back("plain", b);
    }
    {
        CContainerBuilder b;
        const uint16_t cab = static_cast<uint16_t>(b.AddName("x.cab") | CContainerBuilder::kBlocked);
        b.AddChunk(Bytes("prefix"), {{0, 0, 0}});
        b.AddChunk(Bytes("HEADER01"), {{cab, 1, 6}});
        b.AddChunk(PseudoRandomBytes(600, 5), {{cab, 0, 6}, {cab, 32767, 2000}});
        seeds.emplace_back("blocked", b);
    }
    {
        CContainerBuilder b;
        b.AddChunk(Bytes("x"), {{b.AddName("..\\escape.txt"), 0, 0}});
        seeds.emplace_back("unsafe-name", b);
    }
    {
        CContainerBuilder b;
        const uint16_t f = b.AddName("gap.bin");
        b.AddChunk(Bytes("0123"), {{f, 0, 0}});
        b.AddChunk(Bytes("4567"), {{f, 0, 6}});
        seeds.emplace_back("gap", b);
    }
    return seeds;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: fuzz_corpus_writer CORPUS_DIR\n");
        return 2;
    }
    const std::filesystem::path root = argv[1];
    std::filesystem::create_directories(root / "parser");
    std::filesystem::create_directories(root / "decode");
    for (const auto& [name, builder] : Seeds()) {
        const auto container = builder.Build();
        std::vector<uint8_t> parserSeed = {0x34, 0x12};
        parserSeed.insert(parserSeed.end(), container.begin(), container.end());
        WriteWholeFile(root / "parser" / (name + ".bin"), parserSeed);
        SLzmaTestSettings settings;
        settings.nDictionary = 1 << 12;
        WriteWholeFile(root / "decode" / (name + "-lc8.lzma"), CompressForPayload(container, settings));
        settings.nLc = 3;
        settings.bUnknownSize = true;
        WriteWholeFile(root / "decode" / (name + "-lc3-eos.lzma"), CompressForPayload(container, settings));
    }
    return 0;
}
