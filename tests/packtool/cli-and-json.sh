#!/usr/bin/env bash
# The built tool as a shell and a release script meet it: help and version on
# standard output with exit 0, a usage error as one line on standard error with
# exit 2, and `list --json` read back with Python's json module and checked against
# the packed folder.
#   cli-and-json.sh OVRAPACK MAKE_TEST_STUB WORKDIR
set -euo pipefail
ovrapack=$(realpath "$1") make_stub=$(realpath "$2") work=$3
fail() { echo "cli-and-json: FAIL: $*" >&2; exit 1; }

rm -rf "$work"
mkdir -p "$work"
cd "$work"

for ask in "--help" "-h" "pack --help" "list --help" "test -h" "--version"; do
  # shellcheck disable=SC2086
  "$ovrapack" $ask >out.txt 2>err.txt || fail "'ovrapack $ask' exited with $?"
  [ -s out.txt ] || fail "'ovrapack $ask' printed nothing on standard output"
  [ ! -s err.txt ] || fail "'ovrapack $ask' wrote to standard error"
  [ "$(tail -c 1 out.txt | od -An -c | tr -d ' ')" = '\n' ] || fail "'ovrapack $ask' does not end its output with a line break"
done
grep -q '^ovrapack [0-9]' <("$ovrapack" --version) || fail "--version does not print the name and version"

set +e
"$ovrapack" pack --help-me >out.txt 2>err.txt
status=$?
set -e
[ $status -eq 2 ] || fail "a usage error exited with $status, not 2"
[ ! -s out.txt ] || fail "a usage error wrote to standard output"
[ "$(wc -l <err.txt)" -eq 1 ] || fail "a usage error took more than one line: $(cat err.txt)"
grep -q -- "--help" err.txt || fail "a usage error gives no hint to --help"

"$make_stub" stub.exe
mkdir -p src/sub
head -c 100000 /dev/zero | tr '\0' 'a' >src/a.txt
cp src/a.txt src/sub/copy.txt
printf 'setup' >src/setup.exe
: >src/empty.txt
"$ovrapack" pack src --stub stub.exe --out Setup.exe --setup setup --build-id JSON1 --quiet >/dev/null
"$ovrapack" list Setup.exe --json >list.json
"$ovrapack" list Setup.exe --json --chunks >chunks.json

python3 - "$work" <<'PY' || fail "the JSON documents do not describe the package"
import json, os, sys
work = sys.argv[1]
doc = json.load(open(os.path.join(work, "list.json")))
full = json.load(open(os.path.join(work, "chunks.json")))
assert "chunks" not in doc, "chunk records without --chunks"
patch, stream = doc["patch"], doc["stream"]
assert patch["build_id"] == "JSON1" and patch["setup"] == "setup", patch
assert patch["picture_offset"] == 0 and patch["stream_offset"] > 0, patch
assert (stream["lc"], stream["lp"], stream["pb"]) == (0, 0, 2), stream
files = {f["name"]: f for f in doc["files"]}
src = os.path.join(work, "src")
expected = {}
for root, _, names in os.walk(src):
    for name in names:
        path = os.path.join(root, name)
        expected[os.path.relpath(path, src).replace(os.sep, "\\")] = os.path.getsize(path)
assert {n: f["size"] for n, f in files.items()} == expected, (files, expected)
assert doc["file_bytes"] == sum(expected.values())
assert patch["required_bytes"] == stream["container_size"] + doc["file_bytes"], patch
# Every chunk record places into the files it names; the counts per file agree.
per_file = {name: [0, 0] for name in files}
position = 0
for chunk in full["chunks"]:
    assert chunk["data_position"] == position
    position += chunk["length"]
    for place in chunk["destinations"]:
        per_file[place["name"]][0] += 1
        per_file[place["name"]][1] += len(chunk["destinations"]) > 1
assert position == full["data_length"]
assert len(full["chunks"]) == full["chunk_count"]
for name, (chunks, shared) in per_file.items():
    assert (files[name]["chunks"], files[name]["shared"]) == (chunks, shared), name
assert files["sub\\copy.txt"]["shared"] > 0, "the copy shares nothing"
PY
echo "cli-and-json: all passed"
