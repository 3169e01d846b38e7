"""The program starts and shows its page when its cache or data folder cannot
be used, keeps that folder privately for the run, and removes it at the end;
and what pages store never reaches the user's folders."""

import os
import re
import stat
import time
import unittest
from unittest import mock

import harness as h
from kept_errors import KeptErrors
from session_bus import SessionBus

UNUSABLE = ["XDG_CACHE_HOME", "XDG_DATA_HOME"]


class Folders(KeptErrors):
    """The program with one of its folders replaced by a regular file."""

    def __init__(self, variable):
        super().__init__()
        self.variable = variable
        self.blocker = os.path.join(self.home, "a-file")
        with open(self.blocker, "w") as f:
            f.write("not a folder\n")

    def env(self):
        return dict(super().env(), **{self.variable: self.blocker})


class UnusableFolders(unittest.TestCase):
    def test_starts_with_a_private_folder_and_removes_it(self):
        with h.Sites() as sites, SessionBus() as bus, \
                mock.patch.dict(os.environ, DBUS_SESSION_BUS_ADDRESS=bus.address):
            for variable in UNUSABLE:
                with self.subTest(variable):
                    sites.recorder.clear()
                    program = Folders(variable).start()
                    try:
                        window = program.main_window()
                        sites.recorder.wait_for(lambda: sites.recorder.beacons(ev="load"),
                                                what="line-1 page load")
                        said = [line for line in program.error_lines() if "private folder" in line]
                        self.assertEqual(len(said), 1, program.error_lines())
                        self.assertIn(program.blocker, said[0])
                        private = re.search(r"private folder (\S+)", said[0]).group(1)
                        self.assertTrue(os.path.isdir(private))
                        h.activate(window)
                        h.x("xdotool", "key", "Escape")
                        self.assertEqual(program.wait(), 0)
                        # The whole private folder goes, not only the part named.
                        self.assertFalse(os.path.exists(os.path.dirname(private)))
                        time.sleep(1)  # nothing of the engine brings it back
                        self.assertFalse(os.path.exists(os.path.dirname(private)))
                    finally:
                        program.stop()


# A page that stores a marker every way a page can keep something.
STORING_PAGE = b"""<!doctype html><html><body><script>
const mark = 'kept-by-page-' + 'f1c9a7';
localStorage.setItem('k', mark);
document.cookie = 'k=' + mark + '; max-age=999999';
const db = indexedDB.open('db', 1);
db.onupgradeneeded = () => db.result.createObjectStore('s');
db.onsuccess = () => {
  const t = db.result.transaction('s', 'readwrite');
  t.objectStore('s').put(mark, 'k');
  t.oncomplete = () => caches.open('c')
    .then(c => c.put('/kept', new Response(mark.repeat(100))))
    .finally(() => fetch('/beacon?ev=stored'));
};
</script></body></html>"""


class NothingKept(unittest.TestCase):
    def test_what_a_page_stores_is_not_written_to_the_users_folders(self):
        files = {"/tv/tv1.html": (STORING_PAGE, "text/html"),
                 "/kept": (b"kept-by-page-f1c9a7" * 100, "text/plain")}
        with h.Sites(files=files) as sites, SessionBus() as bus, \
                mock.patch.dict(os.environ, DBUS_SESSION_BUS_ADDRESS=bus.address):
            program = h.Program().start()
            try:
                window = program.main_window()
                sites.recorder.wait_for(lambda: sites.recorder.beacons(ev="stored"),
                                        what="the page's stores")
                h.activate(window)
                h.x("xdotool", "key", "Escape")
                self.assertEqual(program.wait(), 0)
                kept = []
                for folder, _, names in os.walk(program.home):
                    for name in names:
                        path = os.path.join(folder, name)
                        if not stat.S_ISREG(os.lstat(path).st_mode):
                            continue  # the sandbox's sockets, links
                        with open(path, "rb") as f:
                            if b"f1c9a7" in f.read():
                                kept.append(path)
                self.assertEqual(kept, [])
            finally:
                program.stop()


if __name__ == "__main__":
    h.main()
