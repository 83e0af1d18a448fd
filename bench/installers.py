#!/usr/bin/env python3
"""The rounds of bench/installers.sh: runs, checks and sums up; started by that script.

Time is the wall time of the whole command. Peak memory is the largest resident set of the
command's process tree as /usr/bin/time -v reports it (the kernel's high-water mark of every
process it waited for: under Wine the Windows program's own process, with the pages of Wine's
DLLs it maps, which every Windows program here maps alike). The prefix's wineserver runs all
the time, outside the tree, and is counted for no program.
"""
import argparse
import hashlib
import os
import shutil
import statistics
import subprocess
import sys
import tempfile
import time
from pathlib import Path

UNINSTALL_ROOT = r'HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall'
# What each uninstall leaves by design: the peer's uninstaller run in place cannot delete
# itself; setup.exe /UNINSTALL leaves its own program file and folder for the next logon.
DOCUMENTED_LEFTOVERS = {'peer': {'uninst.exe'}, 'ours': {'sys', 'sys/setup.exe'}, 'unzip': set()}


class Bench:
    def __init__(self, args):
        self.work = Path(args.work)
        self.kind = args.kind
        self.rounds = args.rounds
        self.manifest = []
        for line in (self.work / 'manifest.tsv').read_text(encoding='utf-8').splitlines():
            size, digest, name = line.split('\t', 2)
            self.manifest.append((name, int(size), digest))
        self.megabytes = sum(size for _, size, _ in self.manifest) / (1024 * 1024)
        self.env = dict(os.environ, WINEPREFIX=str(self.work / 'wineprefix'), WINEDEBUG='-all',
                        WINEDLLOVERRIDES='mscoree,mshtml=;winemenubuilder.exe=d', LC_ALL='C.UTF-8')
        self.env.pop('DISPLAY', None)
        self.programs = (['peer'] if args.peer == 'yes' else []) + ['ours', 'unzip']
        if self.kind != 'cleanup':
            self.programs.append('floor')
        self.times = {}   # name -> [seconds per round]
        self.peaks = {}   # name -> [KiB per round]
        self.problems = []
        self.uninstall_commands = {}

    # --- running ---
    def run(self, name, argv, timed=True):
        """Runs argv (a Wine program when it ends in .exe), returns the exit code."""
        if argv[0].lower().endswith('.exe'):
            argv = ['wine'] + argv
        with tempfile.NamedTemporaryFile('r') as peak:
            start = time.perf_counter()
            code = subprocess.run(['/usr/bin/time', '-f', '%M', '-o', peak.name] + argv, env=self.env,
                                  stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
                                  stderr=subprocess.DEVNULL).returncode
            seconds = time.perf_counter() - start
            kib = int(peak.read().split()[-1])
        if code != 0:
            self.problems.append(f'{name}: exit code {code}')
        if timed:
            self.times.setdefault(name, []).append(seconds)
            self.peaks.setdefault(name, []).append(kib)
        return code

    def wine_quiet(self, *argv):
        return subprocess.run(['wine', *argv], env=self.env, stdin=subprocess.DEVNULL,
                              capture_output=True, text=True, errors='replace')

    def registered_uninstall(self, key):
        """The UninstallString a run registered, split in program and arguments."""
        out = self.wine_quiet('reg', 'query', f'{UNINSTALL_ROOT}\\{key}', '/v', 'UninstallString').stdout
        for line in out.splitlines():
            if 'REG_SZ' in line:
                value = line.split('REG_SZ', 1)[1].strip()
                if value.startswith('"'):
                    program, _, rest = value[1:].partition('"')
                else:
                    program, _, rest = value.partition(' ')
                return [program] + rest.split()
        self.problems.append(f'no registered uninstall under {key}')
        return None

    def registration_gone(self, name, key):
        if self.wine_quiet('reg', 'query', f'{UNINSTALL_ROOT}\\{key}').returncode == 0:
            self.problems.append(f'{name}: the registration {key} is still there')

    def clear_logs(self):
        for log in self.work.glob('wineprefix/drive_c/users/*/Temp/*.log'):
            log.unlink()

    # --- checking ---
    def verify(self, name, root, beside=()):
        """The tree under root holds exactly the payload and the files beside: names, sizes, SHA-256."""
        found = {p.relative_to(root).as_posix() for p in root.rglob('*') if p.is_file()} - set(beside)
        expected = {n for n, _, _ in self.manifest}
        if found != expected:
            self.problems.append(f'{name}: {len(expected - found)} files missing, {len(found - expected)} extra')
            return
        for rel, size, digest in self.manifest:
            path = root / rel
            if path.stat().st_size != size or file_hash(path) != digest:
                self.problems.append(f'{name}: {rel} differs from the payload')
                return

    def leftovers(self, name, root):
        left = {p.relative_to(root).as_posix().lower() for p in root.rglob('*')} if root.exists() else set()
        if left - DOCUMENTED_LEFTOVERS[name]:
            self.problems.append(f'{name}: the uninstall left {sorted(left - DOCUMENTED_LEFTOVERS[name])[:5]}')
        return left

    # --- the programs, one round each ---
    def peer(self, first):
        target = self.work / 'peer' / 'out'
        self.run('peer install', ['D:\\peer\\peer-setup.exe', '/S', '/D=D:\\peer\\out'], self.kind != 'cleanup')
        self.verify('peer', target, beside=['uninst.exe'])
        if first:
            self.uninstall_commands['peer'] = self.registered_uninstall('VekPeerBench')
        self.run('peer uninstall', self.uninstall_commands['peer'] + ['/S', '_?=D:\\peer\\out'])
        left = self.leftovers('peer', target)
        self.registration_gone('peer', 'VekPeerBench')
        shutil.rmtree(target, ignore_errors=True)
        return left

    def ours(self, first):
        target = self.work / 'ours'
        self.run('ours install', ['D:\\dist\\setup.exe', '/Q', '/s:', '/I:D:\\ours'], self.kind != 'cleanup')
        self.clear_logs()
        out = next((p for p in (target / 'OUT', target / 'out') if p.is_dir()), target / 'OUT')
        self.verify('ours', out)
        if first:
            beside = sorted(p.relative_to(target).as_posix() for p in target.rglob('*')
                            if out not in p.parents and p != out)
            print(f'ours installs beside the payload: {" ".join(beside)}')
            self.uninstall_commands['ours'] = self.registered_uninstall('VekInstallerBench')
        self.run('ours uninstall', self.uninstall_commands['ours'] + ['/Q'])
        self.clear_logs()
        left = self.leftovers('ours', target)
        self.registration_gone('ours', 'VekInstallerBench')
        shutil.rmtree(target, ignore_errors=True)
        return left

    def unzip(self, first):
        target = self.work / 'unzip'
        self.run('unzip', ['unzip', '-q', '-o', str(self.work / 'dist' / 'pack.zip'), '-d', str(target)],
                 self.kind != 'cleanup')
        self.verify('unzip', target)
        self.run('rm -rf', ['rm', '-rf', str(target)])
        return self.leftovers('unzip', target)

    def floor(self, first):
        target = self.work / 'floor' / 'out'
        self.run('floor', ['D:\\floor\\vekfloor.exe', 'D:\\manifest.tsv', 'D:\\blob.bin', 'D:\\floor\\out'])
        self.verify('floor', target)
        shutil.rmtree(target, ignore_errors=True)
        return set()

    def go(self):
        for round_index in range(self.rounds):
            turn = round_index % len(self.programs)
            order = self.programs[turn:] + self.programs[:turn]
            for program in order:
                left = getattr(self, program)(round_index == 0)
                if round_index == 0 and program != 'floor':
                    print(f'{program} uninstall leaves: {" ".join(sorted(left)) or "nothing"}')
            line = '  '.join(f'{n} {v[-1]:.2f}' for n, v in self.times.items())
            print(f'round {round_index + 1} ({" ".join(order)}): {line}', flush=True)
        self.report()
        return 1 if self.problems else 0

    # --- the table ---
    def report(self):
        files = len(self.manifest)
        print('(the floor maps the whole payload into memory: its peak is the payload)')
        print(f'\n{self.kind}: {files} files, {self.megabytes:.0f} MiB, {self.rounds} rounds\n')
        print('| run | median s | per file ms | per MiB ms | peak memory MiB |')
        print('|---|---|---|---|---|')
        for name, values in self.times.items():
            median = statistics.median(values)
            print(f'| {name} | {median:.3f} | {1000 * median / files:.3f} | {1000 * median / self.megabytes:.2f} '
                  f'| {max(self.peaks[name]) / 1024:.1f} |')
        pairs = [('ours install', 'peer install', 'goal <= 0.8'), ('ours uninstall', 'peer uninstall', 'goal <= 0.5'),
                 ('ours install', 'unzip', ''), ('peer install', 'unzip', ''), ('ours install', 'floor', ''),
                 ('peer install', 'floor', ''), ('floor', 'unzip', ''), ('ours uninstall', 'rm -rf', ''),
                 ('peer uninstall', 'rm -rf', '')]
        print('\n| paired ratio (median of the rounds) | ratio | range |')
        print('|---|---|---|')
        for a, b, note in pairs:
            if a in self.times and b in self.times:
                ratios = [x / y for x, y in zip(self.times[a], self.times[b])]
                print(f'| {a} / {b} {note} | {statistics.median(ratios):.2f} | {min(ratios):.2f}-{max(ratios):.2f} |')
        if self.problems:
            print('\nPROBLEMS:')
            for problem in dict.fromkeys(self.problems):
                print(f'  {problem}')
        else:
            print('\nevery installed tree matched the payload; every uninstall left only what is documented')


def file_hash(path):
    digest = hashlib.sha256()
    with open(path, 'rb') as f:
        while chunk := f.read(1 << 20):
            digest.update(chunk)
    return digest.hexdigest()


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument('--work', required=True)
    parser.add_argument('--kind', required=True)
    parser.add_argument('--rounds', type=int, default=5)
    parser.add_argument('--peer', default='yes')
    sys.exit(Bench(parser.parse_args()).go())


if __name__ == '__main__':
    main()
