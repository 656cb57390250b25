#!/usr/bin/env python3
"""Fails every call of the extraction path in turn under `ovrapack extract`.

A clean extraction of a small real package first counts the calls made to each
fault point (opening, reading, writing, seeking, flushing and closing files,
creating folders, removing files, allocating memory) once the package is opened.
Then one run per counted call fails exactly that call. Every run must end in a
reported failure (exit 1, a message naming what failed), leave only exact files
under their final names, close every stream it opened below the target folder,
and pass AddressSanitizer and LeakSanitizer; a second run into the same folder
without a fault must extract exactly.

  fault-sweep.py OVRAPACK MAKE_TEST_STUB INJECTOR WORKDIR [--large] [--jobs N]
"""
import argparse
import concurrent.futures
import filecmp
import os
import random
import shutil
import subprocess
import sys
import time

KINDS = ["open", "read", "write", "seek", "flush", "close", "mkdir", "remove", "alloc"]
TEMPORARY = "temp.htar"
SANITIZER_REPORTS = ("ERROR: AddressSanitizer", "ERROR: LeakSanitizer", "runtime error:")
SANITIZER_EXIT = 66
# The line every failed extraction starts with: it says that, not what, failed.
GENERIC = " failed"


def make_sample(folder, large):
    rng = random.Random(27)
    os.makedirs(os.path.join(folder, "sub", "deep"))
    data = rng.randbytes(600_000 if large else 150_000)
    files = {
        "setup.exe": rng.randbytes(3000),
        "data.bin": data,
        os.path.join("sub", "deep", "copy of data.bin"): data,
        "empty.txt": b"",
        "\u00dcberblick.txt": b"text " * 900,
    }
    if large:
        for i in range(40):
            files[os.path.join("sub", f"part{i:02d}.dat")] = rng.randbytes(rng.randrange(1, 70_000))
    for name, content in files.items():
        with open(os.path.join(folder, name), "wb") as f:
            f.write(content)


def sanitizer_env():
    env = dict(os.environ)
    env["ASAN_OPTIONS"] = f"exitcode={SANITIZER_EXIT}:detect_leaks=1:verify_asan_link_order=0:abort_on_error=0"
    env["UBSAN_OPTIONS"] = f"exitcode={SANITIZER_EXIT}:print_stacktrace=1"
    env["LSAN_OPTIONS"] = f"exitcode={SANITIZER_EXIT}"
    return env


class Sweep:
    def __init__(self, args):
        self.ovrapack = os.path.realpath(args.ovrapack)
        self.injector = os.path.realpath(args.injector)
        self.work = os.path.realpath(args.work)
        self.sample = os.path.join(self.work, "sample")
        self.package = os.path.join(self.work, "Setup.exe")
        self.env = sanitizer_env()

    def prepare(self, make_stub, large):
        shutil.rmtree(self.work, ignore_errors=True)
        os.makedirs(os.path.join(self.work, "runs"))
        make_sample(self.sample, large)
        stub = os.path.join(self.work, "stub.exe")
        subprocess.run([make_stub, stub, "--pe32plus"], check=True, stdout=subprocess.DEVNULL)
        subprocess.run([self.ovrapack, "pack", self.sample, "--stub", stub, "--out", self.package,
                        "--setup", "setup", "--quiet"], check=True, env=self.env)

    def folder(self, index):
        # One width for every run: the calls a run makes must not depend on its folder.
        return os.path.join(self.work, "runs", f"r{index:06d}")

    def extract(self, folder, fault=None, log=None):
        env = dict(self.env)
        env["LD_PRELOAD"] = self.injector
        env["OVRA_FAULT_ARM"] = self.package
        env["OVRA_FAULT_WATCH"] = folder + os.sep
        env["OVRA_FAULT_LOG"] = log or folder + ".log"
        if fault:
            env["OVRA_FAULT_FAIL"] = fault
        return subprocess.run([self.ovrapack, "extract", self.package, folder], env=env,
                              capture_output=True, text=True, errors="replace")

    def compare(self, folder, complete):
        """Problems with the files under folder: anything not exact, and when
        complete, anything missing or left over."""
        problems = []
        for root, _, names in os.walk(folder):
            for name in names:
                path = os.path.join(root, name)
                relative = os.path.relpath(path, folder)
                if relative == TEMPORARY:
                    if complete:
                        problems.append(f"{TEMPORARY} left behind")
                    continue
                source = os.path.join(self.sample, relative)
                if not os.path.isfile(source):
                    problems.append(f"unexpected file {relative}")
                elif not filecmp.cmp(source, path, shallow=False):
                    problems.append(f"{relative} is not the packed file "
                                    f"({os.path.getsize(path)} of {os.path.getsize(source)} bytes)")
        if complete:
            for root, _, names in os.walk(self.sample):
                for name in names:
                    relative = os.path.relpath(os.path.join(root, name), self.sample)
                    if not os.path.isfile(os.path.join(folder, relative)):
                        problems.append(f"{relative} missing")
        return problems

    @staticmethod
    def read_log(path):
        try:
            with open(path, errors="replace") as f:
                return f.read().splitlines()
        except FileNotFoundError:
            return []

    def count(self):
        folder = self.folder(0)
        result = self.extract(folder)
        log = self.read_log(folder + ".log")
        problems = self.compare(folder, complete=True) + self.common_problems(result, log)
        if result.returncode != 0:
            problems.append(f"exit {result.returncode}: {result.stderr.strip()}")
        if problems:
            sys.exit("fault-sweep: the clean extraction is already wrong: " + "; ".join(problems))
        counts = {}
        for line in log:
            parts = line.split()
            if len(parts) == 3 and parts[0] == "count":
                counts[parts[1]] = int(parts[2])
        if not counts:
            sys.exit("fault-sweep: the injector counted nothing (was it preloaded?)")
        return counts

    @staticmethod
    def common_problems(result, log):
        problems = [line for line in log if line.startswith("open-at-exit")]
        for report in SANITIZER_REPORTS:
            if report in result.stderr:
                problems.append("sanitizer: " + report)
        if result.returncode == SANITIZER_EXIT:
            problems.append("sanitizer exit code")
        return problems

    def run_fault(self, index, kind, n):
        folder = self.folder(index)
        result = self.extract(folder, f"{kind}:{n}")
        log = self.read_log(folder + ".log")
        injected = [line for line in log if line.startswith("injected")]
        problems = self.common_problems(result, log)
        messages = [line for line in result.stderr.splitlines() if line.startswith("ovrapack: ")]
        harmless = bool(injected) and "of a read-only stream" in injected[0]
        if not injected:
            problems.append("the call was never made")
        elif harmless and result.returncode == 0:
            pass
        elif result.returncode != 1:
            problems.append(f"exit {result.returncode}")
        elif all(m.endswith(GENERIC) for m in messages):
            problems.append("no message naming what failed")
        # Only exact files under their final names, whatever the outcome.
        problems += self.compare(folder, complete=result.returncode == 0)
        again = self.extract(folder, log=folder + ".again.log")
        again_problems = self.compare(folder, complete=True)
        again_problems += self.common_problems(again, self.read_log(folder + ".again.log"))
        if again.returncode != 0:
            again_problems.append(f"exit {again.returncode}")
        problems += ["second run: " + p for p in again_problems]
        shutil.rmtree(folder, ignore_errors=True)
        what = injected[0].split(" ", 3)[-1] if injected else ""
        return kind, n, what, problems, messages, harmless and result.returncode == 0


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("ovrapack")
    parser.add_argument("make_stub")
    parser.add_argument("injector")
    parser.add_argument("work")
    parser.add_argument("--large", action="store_true", help="a package of 45 files instead of 5")
    parser.add_argument("--jobs", type=int, default=2)
    parser.add_argument("--verbose", action="store_true", help="print every run's messages")
    parser.add_argument("--kinds", default=",".join(KINDS), help="the fault points to sweep, comma-separated")
    args = parser.parse_args()

    start = time.monotonic()
    sweep = Sweep(args)
    sweep.prepare(os.path.realpath(args.make_stub), args.large)
    counts = sweep.count()
    kinds = [kind for kind in KINDS if kind in args.kinds.split(",")]
    plan = [(kind, n) for kind in kinds for n in range(1, counts.get(kind, 0) + 1)]
    failures = 0
    reported = 0
    harmless = 0
    with concurrent.futures.ThreadPoolExecutor(max_workers=args.jobs) as pool:
        runs = [pool.submit(sweep.run_fault, index + 1, kind, n) for index, (kind, n) in enumerate(plan)]
        for run in runs:
            kind, n, what, problems, messages, absorbed = run.result()
            if absorbed:
                harmless += 1
            if problems:
                failures += 1
                print(f"FAIL {kind} #{n} ({what}): " + "; ".join(problems))
                for line in messages:
                    print("    " + line)
            else:
                reported += 0 if absorbed else 1
                if args.verbose:
                    print(f"ok {kind} #{n} ({what}): " + " | ".join(messages))
    elapsed = time.monotonic() - start
    points = ", ".join(f"{kind} {counts[kind]}" for kind in kinds if counts.get(kind))
    print(f"fault-sweep: {len(plan)} calls failed one at a time ({points}); "
          f"{reported} ended in a reported failure with exact files and an exact second run, "
          f"{harmless} (closing a stream that was only read) in an exact extraction, "
          f"{failures} did neither; {elapsed:.0f} s")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
