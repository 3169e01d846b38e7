"""The installed program, with its production hosts out of reach: the
failure notice, then the update notice, then the end with code 0."""

import os
import sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "gui"))
import harness as h  # noqa: E402
import test_version as v  # noqa: E402

program = h.Program().start()
try:
    seen, mapped = v.watch(program)
    code = program.wait()
    print("boxes:", seen, "mapped:", mapped, "exit:", code)
    sys.exit(0 if (seen, mapped, code) == ([v.FAILURE, v.UPDATE], False, 0) else 1)
finally:
    program.stop()
