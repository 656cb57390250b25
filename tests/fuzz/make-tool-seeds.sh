#!/usr/bin/env bash
# Writes the seeds of the packaging tool's readers and the patch block from real
# inputs: small executables built by the MinGW compilers (one carrying the stub's
# patch block, one of them signed), cabinets made by gcab, installers packed by
# ovrapack from them and the decoded containers of two. Run by hand when a format
# changes; the output is kept in corpus/. Needs the fuzz build's ovrapack.
#
#   tests/fuzz/make-tool-seeds.sh
set -euo pipefail

source_dir=$(cd "$(dirname "$0")/../.." && pwd)
corpus="$source_dir/tests/fuzz/corpus"
ovrapack="$source_dir/build/fuzz/tools/ovrapack/ovrapack"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"

# Executables: an entry point that keeps the patch block, and nothing else.
cat >entry.cpp <<'CODE'
#include "payload/PatchBlockData.h"
extern "C" int start() { return g_sfxPatchBlock[0]; }
CODE
flags=(-Os -s -nostdlib -fno-exceptions -I"$source_dir")
i686-w64-mingw32-g++ "${flags[@]}" -Wl,-e,_start -o stub32.exe entry.cpp "$source_dir/payload/PatchBlockData.cpp"
x86_64-w64-mingw32-g++ "${flags[@]}" -Wl,-e,start -o stub64.exe entry.cpp "$source_dir/payload/PatchBlockData.cpp"
printf 'int start(void) { return 0; }\n' >plain.c
i686-w64-mingw32-gcc -Os -s -nostdlib -Wl,-e,_start -o plain32.exe plain.c
openssl req -x509 -newkey rsa:2048 -nodes -keyout key.pem -out cert.pem -days 2 -subj /CN=seed 2>/dev/null
osslsigncode sign -certs cert.pem -key key.pem -in stub32.exe -out signed32.exe >/dev/null

# Cabinets: uncompressed ones of one and two blocks, an empty member, a compressed one.
mkdir -p src/sub
printf 'first member\n' >src/a.txt
printf 'second\n' >src/b.txt
: >src/empty.txt
printf 'in a folder\n' >src/sub/c.txt
python3 -c "import sys; sys.stdout.buffer.write(bytes((i * 7 + i // 300) % 251 for i in range(33000)))" >big.bin
(cd src && gcab -c ../two.cab a.txt b.txt && gcab -c ../with-folder.cab a.txt empty.txt sub/c.txt &&
  gcab -c -z ../compressed.cab a.txt b.txt && gcab -c ../empty-member.cab empty.txt)
(cp big.bin src/ && cd src && gcab -c ../two-blocks.cab a.txt big.bin && rm big.bin)

# Installers: loose files with a duplicate, a cabinet, an empty folder.
cp src/a.txt src/sub/copy-of-a.txt
cp two.cab src/
mkdir -p empty
"$ovrapack" pack src --stub stub32.exe --out files.exe --setup a.txt --quiet
"$ovrapack" pack src --stub stub64.exe --out files64.exe --setup b.txt --no-cabinets --quiet
"$ovrapack" pack empty --stub stub32.exe --out empty.exe --quiet
"$ovrapack" pack src --stub signed32.exe --out signed.exe --lc 0 --pb 0 --quiet

# The containers of two of them, decoded: the stream header is the LZMA-alone header.
for name in files files64; do
  python3 - "$name.exe" "container-$name.bin" <<'CODE'
import lzma, struct, sys
data = open(sys.argv[1], 'rb').read()
offset = data.index(b'SFXFIELD2:') + 10
stream = struct.unpack_from('<I', data, offset)[0]
open(sys.argv[2], 'wb').write(lzma.LZMADecompressor(format=lzma.FORMAT_ALONE).decompress(data[stream:]))
CODE
done

mkdir -p "$corpus/pe-image" "$corpus/patch-block" "$corpus/cabinet" "$corpus/package"
cp stub32.exe stub64.exe plain32.exe signed32.exe files.exe "$corpus/pe-image/"
cp stub32.exe stub64.exe signed32.exe files.exe "$corpus/patch-block/"
cp two.cab with-folder.cab compressed.cab empty-member.cab two-blocks.cab "$corpus/cabinet/"
cp files.exe files64.exe empty.exe signed.exe stub32.exe container-files.bin container-files64.bin "$corpus/package/"
ls -l "$corpus/pe-image" "$corpus/patch-block" "$corpus/cabinet" "$corpus/package"
