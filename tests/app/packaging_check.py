"""Checks what installing and packaging the program produce:

    packaging_check.py install BUILD_DIR VERSION APP_ID
        `cmake --install BUILD_DIR` into a temporary prefix
    packaging_check.py deb BUILD_DIR VERSION-REVISION APP_ID
        the Debian package CPack makes from BUILD_DIR, unpacked, its fields,
        and lintian's verdict on it (no error)

Either way the tree must hold exactly the program, the desktop entry, the
icons, the AppStream data, the manual page, the copyright file, the
changelog and the user guide with its pictures, each of which it shows; the desktop entry and the AppStream data must pass
desktop-file-validate and `appstreamcli validate --no-net`, and the manual
page `man --warnings` with every option the program's --help lists.
"""
import gzip
import os
import re
import shutil
import subprocess
import sys
import tempfile
import xml.etree.ElementTree as ET

SOURCE = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
mode, build_dir, package_version, app_id = sys.argv[1], os.path.abspath(sys.argv[2]), sys.argv[3], sys.argv[4]
version = package_version.split("-")[0]  # the program's own version
SIZES = (16, 24, 32, 48, 64, 128, 256)
failures = []


def check(condition, what):
    print(("ok: " if condition else "FAIL: ") + what)
    if not condition:
        failures.append(what)


def run(args, **kw):
    return subprocess.run(args, capture_output=True, text=True, timeout=180, **kw)


def check_manual(path, help_text):
    """The manual page renders without a warning and names every option of
    the program's --help."""
    r = run(["man", "--warnings", "-l", path], env=dict(os.environ, MANWIDTH="80"))
    check(r.returncode == 0 and not r.stderr.strip(), "man --warnings renders the page (%s)" % r.stderr.strip())
    page = re.sub(r".\x08", "", r.stdout)  # without the overstrikes of bold
    options = set(re.findall(r"(?m)^\s+(-[-\w, ]+?)\s{2}", help_text.split("Options:")[-1].split("Arguments:")[0]))
    names = {o.strip() for line in options for o in line.split(",")}
    check(bool(names) and all(n in page for n in names),
          "the manual page names the options %s" % sorted(names))
    check("Veltra %s" % version in page, "the manual page is for version " + version)
    with gzip.open(path, "rb") as f:
        check(".SH EXIT STATUS" in f.read().decode(), "the manual page has its exit status")


def check_tree(usr):
    """usr: the folder that stands for the prefix /usr (bin/, share/)."""
    desktop = "share/applications/%s.desktop" % app_id
    metainfo = "share/metainfo/%s.metainfo.xml" % app_id
    icons = ["share/icons/hicolor/%dx%d/apps/veltra.png" % (n, n) for n in SIZES]
    svg = "share/icons/hicolor/scalable/apps/veltra.svg"
    manual = "share/man/man1/veltra.1.gz"
    pictures = sorted(os.listdir(os.path.join(SOURCE, "docs", "user-guide")))
    docs = ["share/doc/veltra/" + name for name in ("copyright", "changelog.Debian.gz", "user-guide.md")]
    docs += ["share/doc/veltra/user-guide/" + name for name in pictures]
    expected = {"bin/veltra", desktop, metainfo, svg, manual, *icons, *docs}
    found = set()
    for root, _, files in os.walk(usr):
        for name in files:
            found.add(os.path.relpath(os.path.join(root, name), usr))
    check(found == expected, "exactly the expected files (missing %s, extra %s)"
          % (sorted(expected - found), sorted(found - expected)))

    program = os.path.join(usr, "bin/veltra")
    check(os.access(program, os.X_OK), "bin/veltra is executable")
    if os.access(program, os.X_OK):
        env = dict(os.environ, QT_QPA_PLATFORM="offscreen")
        r = run([program, "--version"], env=env)
        check(r.returncode == 0 and r.stdout == "Veltra %s\n" % version,
              "the installed program prints its version (got %d, %r)" % (r.returncode, r.stdout))
        help_text = run([program, "--help"], env=env).stdout
        path = os.path.join(usr, manual)
        if os.path.exists(path):
            check_manual(path, help_text)

    path = os.path.join(usr, "share/doc/veltra/user-guide.md")
    if os.path.exists(path):
        shown = re.findall(r"!\[[^]]*\]\(([^)]+)\)", open(path, encoding="utf-8").read())
        check(sorted(shown) == ["user-guide/" + name for name in pictures],
              "the user guide shows each of its pictures (%s)" % shown)

    path = os.path.join(usr, desktop)
    if os.path.exists(path):
        r = run(["desktop-file-validate", path])
        check(r.returncode == 0 and not r.stdout.strip(),
              "desktop-file-validate passes (%s)" % (r.stdout + r.stderr).strip())
        with open(path, encoding="utf-8") as f:
            check("\nExec=veltra %f\n" in f.read(), "the menu entry starts veltra with one file")

    path = os.path.join(usr, metainfo)
    if os.path.exists(path):
        r = run(["appstreamcli", "validate", "--no-net", path])
        check(r.returncode == 0, "appstreamcli validate --no-net passes (%s)" % (r.stdout + r.stderr).strip())
        component = ET.parse(path).getroot()
        releases = [r.get("version") for r in component.iter("release")]
        check(releases[:1] == [version], "the newest release is %s (got %s)" % (version, releases))
    # The desktop entry, the AppStream data and the icon, together as a tree.
    r = run(["appstreamcli", "validate-tree", "--no-net", os.path.dirname(usr)])
    check(r.returncode == 0, "appstreamcli validate-tree passes (%s)" % (r.stdout + r.stderr).strip())


tmp = tempfile.mkdtemp(prefix="veltra-packaging-")
try:
    if mode == "install":
        r = run(["cmake", "--install", build_dir, "--prefix", os.path.join(tmp, "usr")])
        check(r.returncode == 0, "cmake --install succeeds (%s)" % r.stderr.strip())
        check_tree(os.path.join(tmp, "usr"))
    elif mode == "deb":
        arch = run(["dpkg", "--print-architecture"]).stdout.strip()
        r = run(["cpack", "-G", "DEB", "--config", os.path.join(build_dir, "CPackConfig.cmake"), "-B", tmp],
                cwd=tmp)
        check(r.returncode == 0, "cpack makes the package (%s)" % (r.stdout + r.stderr).strip()[-2000:])
        deb = os.path.join(tmp, "veltra_%s_%s.deb" % (package_version, arch))
        check(os.path.exists(deb), "the package is named " + os.path.basename(deb))
        if os.path.exists(deb):
            fields = {f: run(["dpkg-deb", "-f", deb, f]).stdout.strip()
                      for f in ("Package", "Version", "Architecture", "Depends", "Recommends", "Maintainer", "Section")}
            print("Depends:", fields["Depends"])
            check(fields["Package"] == "veltra" and fields["Version"] == package_version
                  and fields["Architecture"] == arch, "package veltra %s for %s" % (package_version, arch))
            check("qt6-wayland" in fields["Recommends"], "recommends the Wayland platform plugin")
            check(fields["Section"] == "graphics" and "<" in fields["Maintainer"], "a section and a maintainer")
            depends = {d.strip().split(" ")[0] for d in fields["Depends"].split(",")}
            for needed in ("fonts-dejavu-core", "fonts-liberation2", "qt6-image-formats-plugins", "qt6-qpa-plugins"):
                check(needed in depends, "depends on " + needed)
            # Found by dpkg-shlibdeps from the program's own links.
            for library in ("libc6", "libstdc++6", "libqt6core6", "libqt6gui6", "libqt6widgets6", "libfontconfig1"):
                check(library in depends, "depends on " + library + " (from the program's libraries)")
            root = os.path.join(tmp, "root")
            r = run(["dpkg-deb", "-x", deb, root])
            check(r.returncode == 0, "dpkg-deb -x unpacks it")
            check(sorted(os.listdir(root)) == ["usr"], "everything under /usr")
            check_tree(os.path.join(root, "usr"))
            # Warnings are kept only with a reason (docs/packaging.md).
            r = run(["lintian", "--fail-on", "error", "--display-info", "--pedantic", deb])
            print(r.stdout, end="")
            check(r.returncode == 0 and not re.search(r"(?m)^E: ", r.stdout), "lintian reports no error")
    else:
        sys.exit("unknown mode " + mode)
finally:
    shutil.rmtree(tmp, ignore_errors=True)

if failures:
    sys.exit(1)
