# The Python module against the command: both run the same operations, so what the module
# gives back must be what the command prints or writes, byte for byte, on the project's sample.
import json
import os
import shutil
import subprocess
import threading

import pytest

import storyport

CLI = os.environ["STORYPORT_CLI"]
SAMPLE = os.environ["STORYPORT_SAMPLE"]


@pytest.fixture
def work(tmp_path, monkeypatch):
    # The settings file goes to a home of the test's own, for the module and the command alike.
    monkeypatch.setenv("HOME", str(tmp_path))
    monkeypatch.setenv("XDG_CONFIG_HOME", str(tmp_path / "config"))
    shutil.copy(SAMPLE, tmp_path / "brochure.idml")
    monkeypatch.chdir(tmp_path)
    return tmp_path


def command(*args):
    return subprocess.run([CLI, *args], capture_output=True, text=True)


def test_list_is_the_commands_json_listing(work):
    listing = storyport.list_stories("brochure.idml", all=True)
    printed = json.loads(command("list", "brochure.idml", "--json").stdout)
    log = listing.pop("log")
    assert listing == printed
    assert log == []
    assert len(listing["stories"]) == 7


def test_order_and_order_file_rearrange_the_listing(work):
    # The stories of the file come first on their own page, in the file's order.
    (work / "order.txt").write_text("u1e4\nu1f3\nnosuch\n")
    listing = storyport.list_stories("brochure.idml", order_file="order.txt")
    assert [s["key"] for s in listing["stories"]] == [
        "u1c2", "u22c", "u1e4", "u1f3", "u1d6", "u205", "u21a"]
    assert listing["log"] == [
        "Warning: order.txt:3: the order file names a story that the document does not have: "
        "nosuch"]
    plain = storyport.list_stories("brochure.idml", ignore_pasteboard=True, order="left-right")
    assert plain["order"] == "left-right"
    assert "u22c" not in [s["key"] for s in plain["stories"]]


@pytest.mark.parametrize("name, extra", [("out.xlf", ["--target-lang", "fr"]), ("out.stt", [])])
def test_export_writes_the_commands_bytes(work, name, extra):
    result = storyport.export("brochure.idml", "mine-" + name,
                              target_lang="fr" if extra else None)
    assert command("export", "brochure.idml", name, *extra).returncode == 0
    assert (work / ("mine-" + name)).read_bytes() == (work / name).read_bytes()
    assert "7 stories have been exported." in result["log"]


def test_map_writes_the_commands_page(work):
    storyport.export("brochure.idml", "b.xlf", target_lang="de")
    storyport.map("brochure.idml", "mine.html", check="b.xlf", max_growth=5)
    assert command("map", "brochure.idml", "map.html", "--check", "b.xlf",
                   "--max-growth", "5").returncode == 0
    assert (work / "mine.html").read_bytes() == (work / "map.html").read_bytes()


def test_pseudo_writes_the_commands_files(work):
    storyport.pseudo("brochure.idml", "mine.idml", target_lang="de", xliff="mine.xlf")
    assert command("pseudo", "brochure.idml", "p.idml", "--target-lang", "de",
                   "--xliff", "p.xlf").returncode == 0
    assert (work / "mine.xlf").read_bytes() == (work / "p.xlf").read_bytes()
    checked = storyport.check("brochure.idml", "mine.xlf")
    assert [(s["key"], s["verdict"], s["prints"]) for s in checked["fit"]][:3] == [
        ("u1c2", "fits", True), ("u22c", "fits", False), ("u1d6", "fits", True)]


def test_check_and_import_are_the_commands(work):
    storyport.export("brochure.idml", "brochure.xlf", target_lang="fr")
    checked = storyport.check("brochure.idml", "brochure.xlf")
    printed = json.loads(command("check", "brochure.idml", "brochure.xlf", "--json").stdout)
    assert checked["clean"] and printed["clean"]
    assert checked["verdict"] == printed["verdict"] == "An import would be clean."
    assert [f["message"] for f in checked["findings"]] == [
        f["message"] for f in printed["findings"]]
    assert [(s["key"], s["translated_characters"]) for s in checked["fit"]] == [
        (s["key"], s["translated_characters"]) for s in printed["fit"]["stories"]]

    # A file whose story the document lacks is found apart and refused by the import, with
    # the command's words, and nothing changes.
    (work / "other.xlf").write_text((work / "brochure.xlf").read_text().replace("u21a", "gone"))
    checked = storyport.check("brochure.idml", "other.xlf")
    assert (checked["clean"], checked["status"]) == (False, 3)
    assert "Not in the file: u21a (Story 7: Tours at a glance To...)" in checked["lines"]
    before = (work / "brochure.idml").read_bytes()
    with pytest.raises(storyport.Error) as raised:
        storyport.import_("brochure.idml", "other.xlf")
    printed = command("import", "brochure.idml", "other.xlf")
    assert str(raised.value) == printed.stderr.strip().splitlines()[-1]
    assert 'the document has no story with the key "gone"' in str(raised.value)
    assert (work / "brochure.idml").read_bytes() == before
    assert sorted(p.name for p in work.glob("brochure.idml*")) == ["brochure.idml"]

    # The right one goes in, the document as it was kept beside it, as the command does it.
    imported = storyport.import_("brochure.idml", "brochure.xlf")
    assert (imported["stories"], imported["backup"]) == (7, "brochure.idml.bak")
    assert imported["log"][-1] == "The document as it was is kept in brochure.idml.bak."
    assert (work / "brochure.idml.bak").read_bytes() == before
    shutil.copy(SAMPLE, work / "copy.idml")
    assert command("import", "copy.idml", "brochure.xlf", "--no-backup").returncode == 0
    assert (work / "copy.idml").read_bytes() == (work / "brochure.idml").read_bytes()


def test_errors_carry_the_commands_line_and_write_nothing(work):
    cases = [
        (lambda: storyport.list_stories("nosuch.idml"), ["list", "nosuch.idml"]),
        (lambda: storyport.export("brochure.idml", "brochure.idml"),
         ["export", "brochure.idml", "brochure.idml"]),
        (lambda: storyport.map("brochure.xlf", "m.svg"), ["map", "brochure.xlf", "m.svg"]),
    ]
    for call, args in cases:
        with pytest.raises(storyport.Error) as raised:
            call()
        printed = command(*args)
        assert printed.returncode == 1
        assert str(raised.value) == printed.stderr.strip().splitlines()[-1]
    assert (work / "brochure.idml").read_bytes() == open(SAMPLE, "rb").read()
    assert not (work / "m.svg").exists()
    with pytest.raises(storyport.Error, match="target_lang"):
        storyport.export("brochure.idml", "x.xlf")
    assert not (work / "x.xlf").exists()


def test_calls_from_threads_run_one_at_a_time(work):
    results = []

    def run():
        results.append(len(storyport.list_stories("brochure.idml")["stories"]))

    threads = [threading.Thread(target=run) for _ in range(4)]
    for thread in threads:
        thread.start()
    for thread in threads:
        thread.join()
    assert results == [7, 7, 7, 7]


def test_batch_is_the_commands(work):
    # Out: the same files as the command's batch; in: a document without its file is named
    # and left as it was, the other goes in, and the log is the command's after its time line.
    shutil.copy(SAMPLE, work / "second.idml")
    result = storyport.batch("export", ["brochure.idml", "second.idml"], folder="mine",
                             format="xliff", target_lang="fr")
    assert result["clean"] and result["status"] == 0
    assert command("batch", "export", "--folder", "out", "--format", "xliff", "--target-lang",
                   "fr", "brochure.idml", "second.idml").returncode == 0
    for name in ("brochure.xlf", "second.xlf"):
        assert (work / "mine" / name).read_bytes() == (work / "out" / name).read_bytes()
    (work / "out" / "second.xlf").unlink()
    translated = work / "out" / "brochure.xlf"
    translated.write_text(translated.read_text().replace(
        ">Summer in the Alps</mrk></target>", ">L'\u00e9t\u00e9 dans les Alpes</mrk></target>"))
    before = (work / "second.idml").read_bytes()
    result = storyport.batch("import", ["second.idml", "brochure.idml"], folder="out",
                             format="xliff", backup=False)
    assert (result["clean"], result["status"]) == (False, 1)
    assert 'storyport: error: cannot open "out/second.xlf": No such file or directory' in result["log"]
    assert (work / "second.idml").read_bytes() == before
    assert (work / "brochure.idml").read_bytes() != before
    shutil.copy(SAMPLE, work / "brochure.idml")
    printed = command("batch", "import", "--folder", "out", "--format", "xliff", "--no-backup",
                      "--jobs", "1", "second.idml", "brochure.idml")
    assert printed.returncode == 1
    assert printed.stderr.splitlines()[1:] == result["log"][1:]
    with pytest.raises(storyport.Error, match="no folder for the tagged files"):
        storyport.batch("export", ["brochure.idml"])
