#!/usr/bin/env python3
"""Every console program of the suite on a bad day.

Usage: hostile.py BUILD_DIR EXAMPLES_DIR [PROGRAM...]
(a PROGRAM names one program or a family: informe runs informe and informe-modos)

Each program runs in a scratch folder that holds its inputs and the complete
results of an earlier run (of other loads), under these conditions:
  - each input replaced by a directory, a FIFO, an empty file;
  - each output a link to an input, a link to /dev/full;
  - beside each output a file of the user's named like it written aside
    (NAME.tmp): a file of its own, a link to an input;
  - the folder read-only (as an unprivileged user), the disk full (a small
    tmpfs, when run as root);
  - killed with SIGKILL at delays spread over a run;
  - two runs at once of the same name, with different inputs;
  - a lock file that is a directory, a FIFO or a link, or that names a running
    process holding no lock (an id reused after a reboot);
  - runs at once that all find the lock of a killed run, 100 times;
  - stdin, stdout, stderr closed at the start (each, and all three);
  - a console whose reader has gone before the first message;
  - a file size limit (ulimit -f) below the largest output, with SIGXFSZ at
    its default disposition;
  - a shared folder (mode 1777) where one earlier output is another user's,
    run as an unprivileged user (when run as root);
  - earlier outputs made private (mode 0600): a clean run keeps them so;
  - a model whose modulus cannot be physical (negative) or whose solution goes
    beyond the range of the doubles (1e308, 1e-320): refused.
After each run: a refusal ends with status 1 and a message (never a signal or a
hang); every input is byte for byte as it was; every output is either the
earlier run's, whole, or this run's, whole (as a clean run writes it); every
other file is as it was, and no other file is left in the folder.
Prints one line per fault and a last line "N passed, M failed" (runs).
"""
import hashlib
import os
import resource
import shutil
import signal
import subprocess
import sys
import tempfile
import time
from pathlib import Path

NOBODY = 65534
KILL_RUNS = 50
STALE_LOCK_ROUNDS = int(os.environ.get("HOSTILE_LOCK_ROUNDS", "100"))


def digest(path):
    if path.is_symlink():
        return "-> " + os.readlink(path)
    return hashlib.sha1(path.read_bytes()).hexdigest() if path.is_file() else None


def snapshot(folder):
    return {p.name: digest(p) for p in folder.iterdir()}


class Program:
    """One program, its inputs and outputs, and how to make its two input sets."""

    def __init__(self, name, argv, inputs, outputs, make_inputs, lock=None):
        self.name, self.argv, self.inputs, self.outputs = name, argv, inputs, outputs
        self.make_inputs = make_inputs  # (folder, variant 'old'|'new', size 'small'|'large') -> None
        self.lock = lock  # the lock file a run holds while it writes, if it takes one

    def run(self, folder, timeout=60, user=None, argv=None):
        def drop():
            if user is not None:
                os.setgid(user)
                os.setuid(user)
        return subprocess.run(argv or self.argv, cwd=folder, stdin=subprocess.DEVNULL, stdout=subprocess.PIPE,
                              stderr=subprocess.STDOUT, timeout=timeout, preexec_fn=drop)


class Harness:
    def __init__(self, build, examples):
        self.build, self.examples = Path(build).resolve(), Path(examples).resolve()
        self.scratch = Path(tempfile.mkdtemp(prefix="hostile-"))
        os.chmod(self.scratch, 0o755)
        self.passed = self.failed = 0
        self.references, self.cache, self.reference = {}, {}, {}

    def binary(self, *parts):
        return str(self.build.joinpath(*parts))

    def fault(self, program, condition, what):
        self.failed += 1
        print("FAULT %s, %s: %s" % (program.name, condition, what), flush=True)

    def fresh(self, program, label):
        folder = self.scratch / ("%s-%s" % (program.name, label))
        if folder.exists():
            shutil.rmtree(folder)
        folder.mkdir()
        return folder

    # A folder holding the earlier results (inputs 'old', run) with the inputs
    # 'new' in place, copied from one made once per program and size; and the
    # outputs a clean run with 'new' writes.
    def prepared(self, program, label, size="small"):
        key = (program.name, size)
        if key not in self.cache:
            reference = self.fresh(program, "reference-" + size)
            program.make_inputs(reference, "new", size)
            result = program.run(reference)
            if result.returncode != 0:
                raise SystemExit("%s does not run cleanly: %s" % (program.name, result.stdout.decode("cp1252")))
            self.references[key] = {name: digest(reference / name) for name in program.outputs}
            master = self.fresh(program, "earlier-" + size)
            program.make_inputs(master, "old", size)
            program.run(master)
            earlier = snapshot(master)
            program.make_inputs(master, "new", size)
            self.cache[key] = (master, earlier, snapshot(master))
        master, earlier, before = self.cache[key]
        folder = self.scratch / ("%s-%s" % (program.name, label))
        if folder.exists():
            shutil.rmtree(folder)
        shutil.copytree(master, folder, symlinks=True)
        self.reference = self.references[key]
        return folder, dict(earlier), dict(before)

    def reference_size(self, program, name):
        """Size of an output as a clean run of the small inputs writes it."""
        return (self.scratch / ("%s-reference-small" % program.name) / name).stat().st_size

    def judge(self, program, condition, folder, earlier, before, result, allow_success=True, other_inputs=False,
              replaced=None, killed=None):
        """Checks one run; `before` holds the inputs as they were. `killed` is the id of a run killed with
        SIGKILL: its lock may stay, holding that id, for the next run to take over."""
        ok = True
        status = result.returncode if result is not None else None
        text = result.stdout.decode("cp1252", "replace") if result is not None else ""
        if result is not None:
            if status not in (0, 1):
                self.fault(program, condition, "ended with status %s" % status)
                ok = False
            elif status == 1 and not text.strip():
                self.fault(program, condition, "status 1 without a message")
                ok = False
            elif status == 0 and not allow_success:
                self.fault(program, condition, "status 0 where it must refuse")
                ok = False
        after = snapshot(folder)
        for name in program.inputs:
            if name == replaced or (folder / name).is_symlink() or not (folder / name).is_file():
                continue  # the condition replaced it
            if after.get(name) != before.get(name):
                self.fault(program, condition, "input %s changed" % name)
                ok = False
        reference = self.reference
        for name in program.outputs:
            if (folder / name).is_symlink():
                continue
            now = after.get(name)
            allowed = {earlier.get(name), reference[name]}
            if status == 1:
                allowed = {earlier.get(name)}
            if other_inputs and status == 0:
                allowed.add(now)  # a clean run of inputs the reference did not have
            if now not in allowed:
                self.fault(program, condition, "output %s is neither the earlier one nor this run's, whole" % name)
                ok = False
        for name in sorted(set(before) - set(program.outputs) - set(program.inputs)):
            if after.get(name) != before[name]:
                self.fault(program, condition, "file %s changed" % name)
                ok = False
        known = set(before) | set(program.outputs) | set(program.inputs)
        if killed is not None and program.lock and program.lock in after:
            if (folder / program.lock).read_text().strip() == str(killed):
                known.add(program.lock)
            else:
                self.fault(program, condition, "left %s not holding the killed run's id" % program.lock)
                ok = False
                known.add(program.lock)
        for name in sorted(set(after) - known):
            if killed is not None and self.aside_of_killed_run(program, name, killed):
                continue  # judged by recovered(): the next run must remove it
            self.fault(program, condition, "left %s behind" % name)
            ok = False
        if ok:
            self.passed += 1
        return ok

    @staticmethod
    def aside_of_killed_run(program, name, pid):
        """A new output given its own name ".OUTPUT.PID.N.tmp" the moment before it takes its place: a run
        killed exactly then leaves it (a window of microseconds)."""
        return any(name.startswith(".%s.%d." % (output, pid)) and name.endswith(".tmp") for output in program.outputs)

    def recovered(self, program, condition, folder, pid):
        """What a killed run left aside is gone after the next complete run."""
        left = [p.name for p in folder.iterdir() if self.aside_of_killed_run(program, p.name, pid)]
        if not left:
            return
        program.run(folder)
        for name in left:
            if (folder / name).exists():
                self.fault(program, condition, "left %s behind, and the next run did not remove it" % name)

    def replaced_inputs(self, program):
        for name in program.inputs:
            for kind in ("directory", "fifo", "empty"):
                folder, earlier, before = self.prepared(program, "input")
                target = folder / name
                target.unlink()
                if kind == "directory":
                    target.mkdir()
                elif kind == "fifo":
                    os.mkfifo(target)
                else:
                    target.write_bytes(b"")
                condition = "%s as a %s" % (name, kind)
                try:
                    result = program.run(folder, timeout=20)
                except subprocess.TimeoutExpired:
                    self.fault(program, condition, "hangs")
                    continue
                self.judge(program, condition, folder, earlier, before, result, allow_success=kind == "empty",
                           other_inputs=kind == "empty", replaced=name)

    def linked_outputs(self, program):
        for name in program.outputs:
            for target in list(program.inputs[:1]) + ["/dev/full"]:
                folder, earlier, before = self.prepared(program, "link")
                link = folder / name
                if link.exists() or link.is_symlink():
                    link.unlink()
                link.symlink_to(target)
                self.judge(program, "%s a link to %s" % (name, target), folder, earlier, before, program.run(folder))

    def neighbours(self, program):
        """A file of the user's beside each output, named like it written aside (NAME.tmp): the user's own
        text, or a link to an input. Each stays as it was."""
        for kind in ("own file", "link to " + program.inputs[0]):
            folder, earlier, before = self.prepared(program, "neighbours")
            for name in program.outputs:
                planted = folder / (name + ".tmp")
                if kind == "own file":
                    planted.write_bytes(b"the user's own\n")
                else:
                    planted.symlink_to(program.inputs[0])
                before[planted.name] = digest(planted)
            self.judge(program, "a user's %s named like each output + .tmp" % kind, folder, earlier, before,
                       program.run(folder))

    def read_only_folder(self, program):
        """The earlier results may be rewritten in place (status 0) or the run refused; when one of them is
        missing, the run cannot make it and must be refused with all the others as they were."""
        for missing in (None, program.outputs[-1]):
            folder, earlier, before = self.prepared(program, "readonly")
            if missing:
                (folder / missing).unlink()
                del earlier[missing], before[missing]
            user = NOBODY if os.geteuid() == 0 else None
            if user is not None:
                for path in [folder, *folder.iterdir()]:
                    os.chown(path, NOBODY, NOBODY, follow_symlinks=False)
            os.chmod(folder, 0o555)
            result = program.run(folder, user=user)
            os.chmod(folder, 0o755)
            condition = "read-only folder" + (" without %s" % missing if missing else "")
            self.judge(program, condition, folder, earlier, before, result, allow_success=missing is None)

    def full_disk(self, program):
        """A disk with no room for the largest output, which the earlier run's results lack."""
        if os.geteuid() != 0:
            return
        folder, earlier, before = self.prepared(program, "full")
        largest = max(program.outputs, key=lambda name: (folder / name).stat().st_size)
        (folder / largest).unlink()
        del earlier[largest], before[largest]
        files = list(folder.iterdir())
        # Whole pages for what is there, and one page short of the largest output: it cannot fit.
        pages = lambda size: (size + 4095) // 4096
        used = 4096 * (sum(pages(p.lstat().st_size) for p in files) + pages(self.reference_size(program, largest)) - 1)
        mount = self.scratch / ("%s-tmpfs" % program.name)
        mount.mkdir(exist_ok=True)
        if subprocess.run(["mount", "-t", "tmpfs", "-o", "size=%d" % used, "tmpfs", str(mount)]).returncode != 0:
            return  # no mounting here (a container without the right): nothing to judge
        try:
            for p in files:
                shutil.copy2(p, mount / p.name, follow_symlinks=False)
            result = program.run(mount)
            self.judge(program, "full disk", mount, earlier, before, result, allow_success=False)
        finally:
            subprocess.run(["umount", str(mount)])

    def killed(self, program):
        folder, earlier, before = self.prepared(program, "timing", "large")
        start = time.monotonic()
        program.run(folder)
        duration = time.monotonic() - start
        for k in range(KILL_RUNS):
            folder, earlier, before = self.prepared(program, "kill", "large")
            child = subprocess.Popen(program.argv, cwd=folder, stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
                                     stderr=subprocess.DEVNULL)
            time.sleep(duration * 1.2 * k / KILL_RUNS)
            child.send_signal(signal.SIGKILL)
            child.wait()
            condition = "killed after %.0f ms" % (duration * 1200 * k / KILL_RUNS)
            self.judge(program, condition, folder, earlier, before, None, killed=child.pid)
            self.recovered(program, condition, folder, child.pid)

    def at_once(self, program, variants):
        """Two runs of one name with different inputs: each prints what its own inputs give, or is refused."""
        folder, earlier, before = self.prepared(program, "twice")
        procs = [subprocess.Popen(argv, cwd=folder, stdin=subprocess.DEVNULL, stdout=subprocess.PIPE,
                                  stderr=subprocess.STDOUT) for argv in variants]
        outputs = [p.communicate(timeout=120) for p in procs]
        statuses = [p.returncode for p in procs]
        condition = "two runs at once"
        if 0 not in statuses and statuses.count(1) == 2:
            self.fault(program, condition, "both refused")
        for status, (text, _) in zip(statuses, outputs):
            if status not in (0, 1) or (status == 1 and not text.strip()):
                self.fault(program, condition, "ended with status %s" % status)
        alone = []
        for argv in variants:
            solo = self.fresh(program, "solo")
            program.make_inputs(solo, "new", "small")
            alone.append(program.run(solo, argv=argv).stdout)
        for status, (text, _), own in zip(statuses, outputs, alone):
            if status == 0 and text != own:
                self.fault(program, condition, "a run printed what it would not print alone")
        self.passed += 1


    def whole(self, program, condition, folder, result):
        """A run that must end as a clean run does: status 0, every output this run's, whole."""
        after = snapshot(folder)
        if result.returncode != 0:
            self.fault(program, condition, "status %s: %s" % (result.returncode, result.stdout.decode("cp1252", "replace")[:200]))
        elif any(after.get(name) != self.reference[name] for name in program.outputs):
            self.fault(program, condition, "outputs not those of a clean run")
        else:
            self.passed += 1

    def closed_descriptors(self, program):
        """Descriptors 0, 1, 2 closed at the start are no files of the run: it ends as a clean run does."""
        for closed in ([0], [1], [2], [0, 1, 2]):
            folder, earlier, before = self.prepared(program, "closed")
            condition = "descriptors %s closed" % closed
            try:
                result = subprocess.run(program.argv, cwd=folder, stdin=subprocess.DEVNULL, stdout=subprocess.PIPE,
                                        stderr=subprocess.STDOUT, timeout=60,
                                        preexec_fn=lambda: [os.close(fd) for fd in closed])
            except subprocess.TimeoutExpired:
                self.fault(program, condition, "hangs")
                continue
            self.whole(program, condition, folder, result)

    def gone_reader(self, program):
        """A console whose reader has gone before the program writes: the run ends as a clean run does."""
        folder, earlier, before = self.prepared(program, "reader")
        reading, writing = os.pipe()
        os.close(reading)
        try:
            result = subprocess.run(program.argv, cwd=folder, stdin=subprocess.DEVNULL, stdout=writing,
                                    stderr=subprocess.PIPE, timeout=60)
        finally:
            os.close(writing)
        result.stdout = result.stderr
        self.whole(program, "a console whose reader has gone", folder, result)

    def file_size_limit(self, program):
        """A file size limit the largest output does not fit, SIGXFSZ at its default: refused as a full disk."""
        folder, earlier, before = self.prepared(program, "ulimit")
        limit = max(self.reference_size(program, name) for name in program.outputs) - 1

        def limited():
            signal.signal(signal.SIGXFSZ, signal.SIG_DFL)
            resource.setrlimit(resource.RLIMIT_FSIZE, (limit, limit))
        result = subprocess.run(program.argv, cwd=folder, stdin=subprocess.DEVNULL, stdout=subprocess.PIPE,
                                stderr=subprocess.STDOUT, timeout=60, preexec_fn=limited)
        self.judge(program, "a file size limit of %d bytes" % limit, folder, earlier, before, result,
                   allow_success=False)

    def shared_folder(self, program):
        """A folder where each user may replace only their own files (mode 1777), one earlier output another
        user's (writable by all, or not): the run is refused, saying why, with every earlier output whole."""
        if os.geteuid() != 0:
            return
        for mode in (0o666, 0o644):
            folder, earlier, before = self.prepared(program, "shared")
            present = [name for name in program.outputs if (folder / name).is_file()]
            foreign = present[(len(present) - 1) // 2]  # one the run rewrites (an existing .car it keeps)
            for path in [folder, *folder.iterdir()]:
                os.chown(path, NOBODY, NOBODY, follow_symlinks=False)
            os.chown(folder, 0, 0)
            os.chmod(folder, 0o1777)
            os.chown(folder / foreign, 0, 0)
            os.chmod(folder / foreign, mode)
            result = program.run(folder, user=NOBODY)
            os.chmod(folder, 0o755)
            condition = "a shared folder where %s is another user's (mode %o)" % (foreign, mode)
            self.judge(program, condition, folder, earlier, before, result, allow_success=False)
            if b"NO SE PUDO ESCRIBIR EL FICHERO" in result.stdout:
                self.fault(program, condition, "says the disk is full")

    def private_outputs(self, program):
        """Earlier outputs the user made private (0600): the run ends as a clean run does, and they stay so."""
        folder, earlier, before = self.prepared(program, "private")
        present = [name for name in program.outputs if (folder / name).is_file()]
        for name in present:
            os.chmod(folder / name, 0o600)
        result = program.run(folder)
        self.whole(program, "earlier outputs of mode 0600", folder, result)
        for name in present:
            mode = (folder / name).stat().st_mode & 0o777
            if mode != 0o600:
                self.fault(program, "earlier outputs of mode 0600", "%s came back with mode %o" % (name, mode))

    def unphysical_models(self, program, solves):
        """A negative modulus is refused by every reader of the model; one that takes the solution beyond
        the range of the doubles by the programs that solve it (`solves`): never numbers of nan."""
        model = next(name for name in program.inputs if name.endswith(".dat"))
        for modulus in ["-2.5e6"] + (["1e308", "1e-320"] if solves else []):
            folder, earlier, before = self.prepared(program, "modulus")
            text = (folder / model).read_text()
            (folder / model).write_text(text.replace("\n1 2.5e6 ", "\n1 %s " % modulus, 1))
            before[model] = digest(folder / model)
            result = program.run(folder)
            self.judge(program, "a modulus of %s in %s" % (modulus, model), folder, earlier, before, result,
                       allow_success=False)

    def hostile_lock(self, program):
        """Something in the lock's place that is no plain file is refused at once and stays; a lock naming a
        running process that holds no lock is taken over."""
        for kind in ("directory", "fifo", "link", "other process"):
            folder, earlier, before = self.prepared(program, "lock")
            lock = folder / program.lock
            sleeper = None
            if kind == "directory":
                lock.mkdir()
            elif kind == "fifo":
                os.mkfifo(lock)
            elif kind == "link":
                lock.symlink_to(program.inputs[0])
            else:
                sleeper = subprocess.Popen(["sleep", "120"])
                lock.write_text("%d\n" % sleeper.pid)
            if sleeper is None:
                before[program.lock] = digest(lock)  # None for what is no file or link
            condition = "%s a %s" % (program.lock, kind)
            try:
                result = program.run(folder, timeout=20)
            except subprocess.TimeoutExpired:
                self.fault(program, condition, "hangs")
                continue
            finally:
                if sleeper:
                    sleeper.kill()
                    sleeper.wait()
            if sleeper is None:
                self.judge(program, condition, folder, earlier, before, result, allow_success=False)
                if snapshot(folder).get(program.lock, kind) != before[program.lock]:
                    self.fault(program, condition, "the lock's place was changed")
            elif result.returncode != 0 or lock.exists():
                self.fault(program, condition, "not taken over (status %d)" % result.returncode)
            else:
                self.judge(program, condition, folder, earlier, before, result)

    def stale_lock_race(self, program, variants, rounds=STALE_LOCK_ROUNDS):
        """Runs at once, with different inputs, that all find the lock of a run that was killed: one at a time
        takes it over, so the outputs are all of one run, whole."""
        wholes = []  # the large inputs: runs long enough to meet
        for argv in variants:
            solo = self.fresh(program, "solo")
            program.make_inputs(solo, "new", "large")
            program.run(solo, argv=argv)
            wholes.append({name: digest(solo / name) for name in program.outputs})
        for k in range(rounds):
            folder, earlier, before = self.prepared(program, "race", "large")
            dead = subprocess.Popen(["true"])
            dead.wait()
            (folder / program.lock).write_text("%d\n" % dead.pid)
            # Each variant twice: more runs meet at the lock.
            procs = [subprocess.Popen(argv, cwd=folder, stdin=subprocess.DEVNULL, stdout=subprocess.PIPE,
                                      stderr=subprocess.STDOUT) for argv in variants + variants]
            outputs = [p.communicate(timeout=120)[0] for p in procs]
            statuses = [p.returncode for p in procs]
            condition = "runs taking over a killed run's lock together, round %d" % (k + 1)
            after = snapshot(folder)
            if any(status not in (0, 1) for status in statuses) or 0 not in statuses:
                self.fault(program, condition, "statuses %s: %s" % (statuses, [o.decode("cp1252") for o in outputs]))
            elif not any(all(after.get(name) == whole[name] for name in program.outputs) for whole in wholes):
                self.fault(program, condition, "the outputs are of two runs")
            elif program.lock in after or set(after) - set(before) - set(program.outputs):
                self.fault(program, condition, "left %s" % sorted(set(after) - set(before) - set(program.outputs)))
            else:
                self.passed += 1


def make_beam(harness, folder, bars, stem, scale=1.0, irregular=None):
    shape = ["--irregular", str(irregular)] if irregular is not None else []
    subprocess.run([sys.executable, str(Path(__file__).parent.parent / "bench/calcest/make-beam"), *shape, str(bars),
                    str(folder / stem)], check=True)
    if scale != 1.0:
        loads = (folder / (stem + ".caf")).read_text().replace("-2.5 y", "-%.1f y" % (2.5 * scale))
        (folder / (stem + ".caf")).write_text(loads)


def calcest_outputs(stem):
    return [stem + e for e in (".res", ".fmc", ".bar", ".kar", ".kra", ".tst", ".gan", ".def")] + [
        "esfuerzos.txt", "fp_pruebak.txt", "rigidez.txt", "rigidez1.txt", "caldef.txt", "caldef1.txt",
        "artcorte.txt"]


def programs(h):
    calcest = h.binary("calcest", "calcest")
    stem = "v"

    bars = {"small": 12, "large": 160}

    def analysed(folder, variant, size, count=None):
        make_beam(h, folder, count or bars[size], stem, 1.0 if variant == "new" else 2.0)
        subprocess.run([calcest, stem + ".dat", stem + ".res", stem + ".caf", stem + ".fmc", stem + ".bar", "0"],
                       cwd=folder, stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL, check=True)
        for name in calcest_outputs(stem)[3:]:
            if name.endswith(".txt") or name.endswith((".kra", ".tst", ".gan", ".def")):
                (folder / name).unlink()

    def calcest_inputs(folder, variant, size):
        make_beam(h, folder, bars[size], stem, 1.0 if variant == "new" else 2.0)

    def calcdin_inputs(folder, variant, size):
        # Another model of the same beam makes other modes.
        analysed(folder, variant, size, bars[size] // 2 * (2 if variant == "new" else 1))

    def informe_inputs(folder, variant, size):
        analysed(folder, variant, size)

    def informe_modes_inputs(folder, variant, size):
        analysed(folder, variant, size)
        subprocess.run([h.binary("calcdin", "calcdin"), "v.dat", "v.bar", "v.din", "2"], cwd=folder,
                       stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL, check=True)

    def pattern_inputs(folder, variant, size):
        # Supports every 5 to 10 nodes: spans of several bars, as beams are.
        make_beam(h, folder, bars[size], stem, 1.0 if variant == "new" else 2.0, irregular=3)
        (folder / "q.caf").write_text((folder / (stem + ".caf")).read_text().replace("-2.5 y", "-1.5 y"))

    def batch_inputs(folder, variant, size):
        for k, name in enumerate(("p1", "p2")):
            make_beam(h, folder, bars[size], name, (1.0 + k) * (1.0 if variant == "new" else 2.0))
            subprocess.run([calcest, name + ".dat", name + ".res", name + ".caf", name + ".fmc", name + ".bar", "0"],
                           cwd=folder, stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL, check=True)
            subprocess.run([h.binary("alternancias", "alternancias"), "--tabla", name], cwd=folder,
                           stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL, check=True)
            # Only the project files the envelope reads stay; the earlier run's envelope stays too.
            for spare in calcest_outputs(name):
                if not spare.endswith((".res", ".fmc", ".kar")):
                    (folder / spare).unlink(missing_ok=True)

    envelope = lambda name: [name + e for e in (".res", ".esf", "d.scr", "m.scr", "c.scr", "d.svg", "m.svg", "c.svg")]
    project = lambda name: [name + e for e in (".dat", ".caf", ".res", ".fmc", ".kar", ".car", ".esf")]
    return [
        Program("calcest", [calcest, "v.dat", "v.res", "v.caf", "v.fmc", "v.bar", "0"], ["v.dat", "v.caf"],
                calcest_outputs(stem), calcest_inputs),
        Program("calcdin", [h.binary("calcdin", "calcdin"), "v.dat", "v.bar", "v.din", "2"], ["v.dat", "v.bar"],
                ["v.din"], calcdin_inputs),
        Program("informe", [h.binary("informe", "informe"), "v"], ["v.dat", "v.caf", "v.res", "v.fmc"],
                ["v.html"] + ["v-%s.svg" % k for k in ("modelo", "flecha", "momento", "corte")], informe_inputs),
        Program("informe-modos", [h.binary("informe", "informe"), "v", "v.din"],
                ["v.dat", "v.caf", "v.res", "v.fmc", "v.din"],
                ["v.html"] + ["v-%s.svg" % k for k in ("modelo", "flecha", "momento", "corte")] +
                ["v-modo%d.svg" % k for k in range(1, 7)], informe_modes_inputs),
        Program("alternancias-tabla", [h.binary("alternancias", "alternancias"), "--tabla", "v"],
                ["v.dat", "v.caf", "v.res", "v.kar"], ["v.esf", "v.car"], informe_inputs),
        Program("alternancias", [h.binary("alternancias", "alternancias"), "E", "v.dat", "v.caf", "q.caf"],
                ["v.dat", "v.caf", "q.caf"], envelope("E"), pattern_inputs, lock="E.lock"),
        Program("envolventes-batch", [h.binary("envolventes", "cli", "envolventes-batch"), "E", "3000", "400",
                                      "p1", "p2"], project("p1") + project("p2"), envelope("E"), batch_inputs,
                lock="E.lock"),
    ]


def main():
    if len(sys.argv) < 3:
        sys.exit(__doc__)
    h = Harness(sys.argv[1], sys.argv[2])
    chosen = set(sys.argv[3:])
    try:
        for program in programs(h):
            if chosen and program.name not in chosen and program.name.split("-")[0] not in chosen:
                continue
            h.replaced_inputs(program)
            h.linked_outputs(program)
            h.neighbours(program)
            h.read_only_folder(program)
            h.full_disk(program)
            h.killed(program)
            h.closed_descriptors(program)
            h.gone_reader(program)
            h.file_size_limit(program)
            h.shared_folder(program)
            h.private_outputs(program)
            h.unphysical_models(program, program.name in ("calcest", "alternancias"))
            variants = {"alternancias": [program.argv, program.argv[:-1] + ["v.caf"]],
                        "envolventes-batch": [program.argv, program.argv[:-1]]}.get(program.name)
            if variants:
                h.at_once(program, variants)
                h.hostile_lock(program)
                h.stale_lock_race(program, variants)
    finally:
        shutil.rmtree(h.scratch, ignore_errors=True)
    print("%d passed, %d failed" % (h.passed, h.failed))
    sys.exit(1 if h.failed else 0)


if __name__ == "__main__":
    main()
