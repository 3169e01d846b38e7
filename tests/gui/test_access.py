"""The channel bar through a screen reader's eyes: six push buttons named by
their captions, whose action loads what a left press loads."""

import os
import time
import unittest

import harness as h
from test_channels import LABELS

NAMES = ["线路一（随播网视）", "线路二（夏玲网视）", "线路三（易视直播）", "湖南卫视专线",
         "装机推荐软件", "官方网站"]


class ScreenReader(unittest.TestCase):
    def test_labels_are_named_buttons_that_press(self):
        with h.Sites() as sites:
            sites.recorder.clear()
            program = h.Program()
            env = program.env()
            env.pop("NO_AT_BRIDGE")
            env["GTK_A11Y"] = "atspi"
            try:
                program.start(env=env)
                program.main_window()
                sites.recorder.wait_for(lambda: sites.recorder.beacons(ev="load"),
                                        what="line-1 page load")
                # The reader talks to the program's own session bus.
                os.environ["DBUS_SESSION_BUS_ADDRESS"] = env["DBUS_SESSION_BUS_ADDRESS"]
                import pyatspi

                def buttons():
                    for app in pyatspi.Registry.getDesktop(0):
                        if app is not None and app.get_process_id() == program.process.pid:
                            return pyatspi.findAllDescendants(
                                app, lambda a: a.getRoleName() == "push button")
                    return []

                found = sites.recorder.wait_for(lambda: len(buttons()) >= len(NAMES),
                                                timeout=30, what="the labels over AT-SPI")
                found = {button.name: button for button in buttons()}
                self.assertEqual(sorted(found), sorted(NAMES))
                sites.recorder.clear()
                for name, (_, page) in zip(NAMES, LABELS):
                    with self.subTest(button=name):
                        button = found[name]
                        action = button.queryAction()
                        self.assertEqual(action.nActions, 1)
                        self.assertTrue(action.doAction(0))
                        sites.recorder.wait_for(lambda: page in sites.recorder.pages(),
                                                what="%s loaded" % (page,))
                        time.sleep(0.6)  # apart, as a user's presses are
                time.sleep(1.0)
                self.assertEqual(sites.recorder.pages(), [page for _, page in LABELS])
            finally:
                program.stop()


if __name__ == "__main__":
    h.main()
