#!/usr/bin/env python3
"""The packages scripts/package makes from a build, checked as a user receives them.

    packages_test.py zip BUILD   the Windows zip of a windows build; leaves it unzipped in
                                 BUILD/release-test/unzipped for the Wine test of the program
    packages_test.py deb BUILD   the corvane-cli .deb of a native build

The normal builds are packaged (stripped on the way, as a release is); scripts/release --check
compares two release builds byte for byte.
"""
import gzip
import hashlib
import io
import os
import re
import shutil
import stat
import struct
import subprocess
import sys
import tarfile
import tempfile
import time
import unittest
import zipfile

ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
DATA = os.path.join(ROOT, "data")
BUILD = ""


def generated(name):
    with open(os.path.join(BUILD, "generated", name), encoding="utf-8") as f:
        return f.read().strip()


def make_package(kind, out):
    result = subprocess.run([os.path.join(ROOT, "scripts", "package"), kind, BUILD, out],
                            check=True, capture_output=True, text=True)
    return result.stdout.strip()


def data_files(*parts):
    """Every file under data/<parts>, as path relative to data/ -> bytes."""
    files = {}
    for parent, _, names in os.walk(os.path.join(DATA, *parts)):
        for n in names:
            path = os.path.join(parent, n)
            with open(path, "rb") as f:
                files[os.path.relpath(path, DATA).replace(os.sep, "/")] = f.read()
    return files


class Version(unittest.TestCase):
    """The one version: project(VERSION), and the commit when it is not tagged v<version>."""

    def test_names_the_project_version_and_the_commit(self):
        with open(os.path.join(ROOT, "CMakeLists.txt"), encoding="utf-8") as f:
            project = re.search(r"project\(Corvane VERSION ([0-9.]+)", f.read()).group(1)
        git = ["git", "-C", ROOT]
        try:
            commit = subprocess.run(git + ["rev-parse", "HEAD"], check=True, capture_output=True,
                                    text=True).stdout.strip()
        except (OSError, subprocess.CalledProcessError):
            self.assertEqual(generated("version.txt"), project)
            return
        tags = subprocess.run(git + ["tag", "--points-at", "HEAD"], capture_output=True,
                              text=True).stdout.split()
        want = project if "v" + project in tags else project + "+" + commit[:7]
        self.assertEqual(generated("version.txt"), want)


class Package(unittest.TestCase):
    """The package of kind made afresh in BUILD/release-test, and what the build says of it."""
    kind = ""

    @classmethod
    def setUpClass(cls):
        cls.version = generated("version.txt")
        cls.epoch = int(generated("source_date_epoch.txt"))
        cls.out = os.path.join(BUILD, "release-test")
        shutil.rmtree(cls.out, ignore_errors=True)
        cls.path = make_package(cls.kind, cls.out)


# ---- The zip ---------------------------------------------------------------------------------

def zip_time(epoch):
    t = time.gmtime(max(epoch, 315532800))
    return (t.tm_year, t.tm_mon, t.tm_mday, t.tm_hour, t.tm_min, t.tm_sec - t.tm_sec % 2)


class PeFile:
    """What the tests read of a PE image: header time, symbols, sections, exports, imports."""

    def __init__(self, data):
        self.data = data
        pe = struct.unpack_from("<I", data, 0x3C)[0]
        assert data[pe:pe + 4] == b"PE\0\0"
        (_, sections, self.time, self.symbols, self.symbol_count, optional_size,
         _) = struct.unpack_from("<HHIIIHH", data, pe + 4)
        optional = pe + 24
        assert struct.unpack_from("<H", data, optional)[0] == 0x20B  # PE32+
        self.subsystem = struct.unpack_from("<H", data, optional + 68)[0]
        directories = optional + 112
        self.directories = [struct.unpack_from("<II", data, directories + 8 * i)
                            for i in range(struct.unpack_from("<I", data, optional + 108)[0])]
        self.sections = []
        table = optional + optional_size
        for i in range(sections):
            name, vsize, va, rsize, raw = struct.unpack_from("<8sIIII", data, table + 40 * i)
            self.sections.append((name.rstrip(b"\0").decode(), va, vsize, raw, rsize))

    def at(self, rva):
        for _, va, vsize, raw, rsize in self.sections:
            if va <= rva < va + max(vsize, rsize):
                return raw + rva - va
        raise ValueError("rva %x" % rva)

    def text(self, rva):
        start = self.at(rva)
        return self.data[start:self.data.index(b"\0", start)].decode()

    def export_time(self):
        rva, size = self.directories[0]
        return struct.unpack_from("<I", self.data, self.at(rva) + 4)[0] if size else None

    def imports(self):
        rva, size = self.directories[1]
        names, entry = [], self.at(rva) if size else None
        while entry is not None:
            name = struct.unpack_from("<I", self.data, entry + 12)[0]
            if not name:
                break
            names.append(self.text(name))
            entry += 20
        return names


class Zip(Package):
    kind = "zip"

    @classmethod
    def setUpClass(cls):
        super().setUpClass()
        cls.zip = zipfile.ZipFile(cls.path)
        cls.top = "Corvane-%s/" % cls.version
        cls.entries = cls.zip.infolist()

    @classmethod
    def tearDownClass(cls):
        # For the Wine test of the program (e2e_release): the zip as a user extracts it.
        cls.zip.extractall(os.path.join(cls.out, "unzipped"))
        cls.zip.close()

    def read(self, name):
        return self.zip.read(self.top + name)

    def test_is_named_by_the_version_and_holds_one_folder_of_that_name(self):
        self.assertEqual(os.path.basename(self.path), "Corvane-%s-win64.zip" % self.version)
        for e in self.entries:
            self.assertTrue(e.filename.startswith(self.top), e.filename)

    def test_holds_the_program_its_data_an_empty_macro_folder_and_no_settings(self):
        # Each data file as it ships: the demo macros as exchange files to import.
        contents = dict(data_files("Devices"), **data_files("Languages"))
        contents.update(("Samples/" + n[len("Macros/"):-len(".ini")] + ".mcr", d)
                        for n, d in data_files("Macros").items())
        contents["linux/70-corvane.rules"] = data_files("linux")["linux/70-corvane.rules"]
        contents["README.txt"] = data_files()["README.txt"]
        self.assertTrue([n for n in contents if n.startswith("Samples/")])
        folders = {n[:i + 1] for n in contents for i, c in enumerate(n) if c == "/"}
        want = set(contents) | folders | {"", "Macros/", "Corvane.exe", "CorvaneHook.dll",
                                          "corvane-cli.exe"}
        got = [e.filename[len(self.top):] for e in self.entries]
        self.assertEqual(sorted(got), sorted(want))
        for name, data in contents.items():
            self.assertEqual(self.read(name), data, name)
        # Extracting an update over a folder must not replace the user's settings or macros.
        self.assertFalse([n for n in got if n.lower().endswith("corvane.ini")])
        self.assertFalse([n for n in got if n.startswith("Macros/") and n != "Macros/"])

    def test_entries_are_sorted_dated_by_the_commit_and_carry_nothing_else(self):
        names = [e.filename for e in self.entries]
        self.assertEqual(names, sorted(names))
        self.assertEqual(len(names), len(set(names)))
        self.assertEqual(self.zip.comment, b"")
        for e in self.entries:
            self.assertEqual(e.date_time, zip_time(self.epoch), e.filename)
            self.assertEqual(e.extra, b"", e.filename)
            self.assertEqual((e.create_system, e.flag_bits), (3, 0), e.filename)
            mode = e.external_attr >> 16
            if e.is_dir():
                self.assertEqual(mode, stat.S_IFDIR | 0o755, e.filename)
            else:
                executable = e.filename.endswith((".exe", ".dll"))
                self.assertEqual(mode, stat.S_IFREG | (0o755 if executable else 0o644), e.filename)

    def test_binaries_are_stripped_stamped_with_no_link_time_and_need_no_runtime_dlls(self):
        fixed = {0, self.epoch}  # the linker's time stamp: none, or the commit's
        subsystems = {"Corvane.exe": 2, "CorvaneHook.dll": None, "corvane-cli.exe": 3}  # GUI, console
        for name, subsystem in subsystems.items():
            pe = PeFile(self.read(name))
            self.assertEqual((pe.symbols, pe.symbol_count), (0, 0), name)
            self.assertFalse([s[0] for s in pe.sections if s[0].startswith((".debug", "/"))],
                             name)
            self.assertIn(pe.time, fixed, name)
            if subsystem:
                self.assertEqual(pe.subsystem, subsystem, name)
            imports = [i.lower() for i in pe.imports()]
            self.assertTrue(imports, name)
            for dll in imports:
                # The C++ runtime is linked in: nothing of the compiler's own DLLs.
                self.assertFalse(dll.startswith(("libstdc++", "libgcc", "libwinpthread")),
                                 name + " imports " + dll)
            self.assertEqual("corvanehook.dll" in imports, name == "Corvane.exe", name)
        self.assertIn(PeFile(self.read("CorvaneHook.dll")).export_time(), fixed)


# ---- The .deb --------------------------------------------------------------------------------

def run(*args, **kw):
    return subprocess.run(args, check=True, capture_output=True, **kw).stdout


class Deb(Package):
    kind = "deb"

    @classmethod
    def setUpClass(cls):
        super().setUpClass()
        cls.arch = run("dpkg", "--print-architecture", text=True).strip()
        cls.data = tarfile.open(fileobj=io.BytesIO(run("dpkg-deb", "--fsys-tarfile", cls.path)))
        cls.control = tarfile.open(fileobj=io.BytesIO(run("dpkg-deb", "--ctrl-tarfile", cls.path)))

    def field(self, name):
        return run("dpkg-deb", "-f", self.path, name, text=True).strip()

    def member(self, archive, name):
        return archive.extractfile(archive.getmember(name)).read()

    def test_is_corvane_cli_of_the_version_with_its_fields(self):
        self.assertEqual(os.path.basename(self.path),
                         "corvane-cli_%s_%s.deb" % (self.version, self.arch))
        self.assertEqual(self.field("Package"), "corvane-cli")
        self.assertEqual(self.field("Version"), self.version)
        self.assertEqual(self.field("Architecture"), self.arch)
        self.assertEqual(self.field("Section"), "utils")
        self.assertEqual(self.field("Priority"), "optional")
        self.assertRegex(self.field("Maintainer"), r"^[^<>]+ <[^<>@\s]+@[^<>@\s]+>$")
        self.assertRegex(self.field("Depends"), r"(^|, )libc6 \(>= [0-9.]+\)")
        description = self.field("Description").split("\n")
        self.assertGreater(len(description), 1)
        self.assertLessEqual(max(len(line) for line in description), 80)

    def test_installs_the_cli_the_udev_rule_and_its_documentation_owned_by_root(self):
        files = {"./usr/bin/corvane-cli": 0o755,
                 "./usr/lib/udev/rules.d/70-corvane.rules": 0o644,
                 "./usr/share/doc/corvane-cli/changelog.gz": 0o644,
                 "./usr/share/doc/corvane-cli/copyright": 0o644,
                 "./usr/share/doc/corvane-cli/README.md": 0o644}
        dirs = {p[:i] + "/" for p in files for i, c in enumerate(p) if c == "/" and i > 1}
        members = self.data.getmembers()
        got = {m.name + ("/" if m.isdir() else ""): m for m in members}
        self.assertEqual(sorted(got), sorted(set(files) | dirs))
        for name, m in got.items():
            self.assertEqual((m.uid, m.gid, m.uname, m.gname), (0, 0, "root", "root"), name)
            self.assertEqual(m.mtime, self.epoch, name)
            self.assertEqual(m.mode, files.get(name, 0o755), name)
        self.assertEqual(self.member(self.data, "./usr/lib/udev/rules.d/70-corvane.rules"),
                         data_files("linux")["linux/70-corvane.rules"])

    def test_changelog_names_the_version_and_md5sums_match(self):
        changelog = self.member(self.data, "./usr/share/doc/corvane-cli/changelog.gz")
        self.assertEqual(changelog[3] & 0x08, 0)  # no file name in the gzip header
        self.assertEqual(struct.unpack_from("<I", changelog, 4)[0], 0)  # nor a time
        first = gzip.decompress(changelog).decode().split("\n")[0]
        self.assertEqual(first, "corvane-cli (%s) unstable; urgency=medium" % self.version)
        sums = {}
        for line in self.member(self.control, "./md5sums").decode().splitlines():
            digest, name = line.split("  ", 1)
            sums["./" + name] = digest
        files = {m.name for m in self.data.getmembers() if m.isfile()}
        self.assertEqual(set(sums), files)
        for name in files:
            self.assertEqual(hashlib.md5(self.member(self.data, name)).hexdigest(), sums[name])

    def test_postinst_reloads_the_rules_only_where_udev_runs(self):
        # Each script runs in a mount namespace of its own whose /run holds udev's folder or
        # not, with a udevadm that records its calls first on PATH.
        probe = ["unshare", "-rm", "sh", "-c", "mount -t tmpfs none /run"]
        if subprocess.run(probe, capture_output=True).returncode != 0:
            self.skipTest("no mount namespace here (unshare -rm)")
        with tempfile.TemporaryDirectory() as scratch:
            self.control.extractall(scratch)
            for script in ("postinst", "postrm"):
                self.assertEqual(os.stat(os.path.join(scratch, script)).st_mode & 0o777, 0o755)
            fake = os.path.join(scratch, "bin")
            os.mkdir(fake)
            log = os.path.join(scratch, "calls")
            with open(os.path.join(fake, "udevadm"), "w") as f:
                f.write('#!/bin/sh\necho "$*" >>%s\n' % log)
            os.chmod(os.path.join(fake, "udevadm"), 0o755)
            env = dict(os.environ, PATH=fake + os.pathsep + os.environ["PATH"])
            reload, trigger = "control --reload-rules", "trigger --subsystem-match=hidraw --action=change"
            cases = [(True, "postinst", "configure", [reload, trigger]),
                     (False, "postinst", "configure", []),
                     (True, "postinst", "abort-upgrade", []),
                     (True, "postrm", "remove", [reload]),
                     (False, "postrm", "remove", []),
                     (True, "postrm", "purge", [])]
            for udev, script, action, calls in cases:
                if os.path.exists(log):
                    os.remove(log)
                setup = "mount -t tmpfs none /run && " + ("mkdir /run/udev && " if udev else "")
                subprocess.run(probe[:-1] + [setup + 'exec sh "$0" "$1"',
                                             os.path.join(scratch, script), action],
                               check=True, env=env)
                got = open(log).read().splitlines() if os.path.exists(log) else []
                self.assertEqual(got, calls, "%s %s, udev %s" % (script, action, udev))

    def test_unpacked_cli_is_stripped_and_runs(self):
        with tempfile.TemporaryDirectory() as scratch:
            run("dpkg-deb", "-x", self.path, scratch)
            cli = os.path.join(scratch, "usr", "bin", "corvane-cli")
            sections = run("readelf", "-S", "-W", cli, text=True)
            self.assertNotIn(".symtab", sections)
            self.assertNotIn(".debug_", sections)
            folder = os.path.join(scratch, "demo")
            shutil.copytree(DATA, folder)
            shown = run(cli, "show", "--dir", folder, text=True)
            self.assertIn("Burst Fire", shown)


def main():
    global BUILD
    if len(sys.argv) < 3 or sys.argv[1] not in ("zip", "deb"):
        sys.exit("usage: packages_test.py zip|deb BUILD [unittest options]")
    kind, BUILD = sys.argv[1], os.path.abspath(sys.argv[2])
    suite = unittest.TestSuite()
    loader = unittest.TestLoader()
    suite.addTests(loader.loadTestsFromTestCase(Version))
    suite.addTests(loader.loadTestsFromTestCase(Zip if kind == "zip" else Deb))
    result = unittest.TextTestRunner(verbosity=2).run(suite)
    sys.exit(0 if result.wasSuccessful() else 1)


if __name__ == "__main__":
    main()
