"""Bounded waits and commands for the learner and its desktops: every wait
ends, and says what it waited for."""
import os
import subprocess
import time

WAIT = float(os.environ.get("MORVELA_E2E_WAIT", "10"))


class LearnerError(AssertionError):
    """Something the learner waited for did not happen."""


def wait_for(predicate, what, timeout=WAIT, interval=0.05):
    deadline = time.monotonic() + timeout
    last = None
    while True:
        try:
            value = predicate()
            if value:
                return value
        except LearnerError:
            raise
        except Exception as e:  # noqa: BLE001 - a vanished widget is "not yet"
            last = e
        if time.monotonic() >= deadline:
            raise LearnerError("waited %.0f s for %s%s" % (timeout, what, " (last error: %r)" % last if last else ""))
        time.sleep(interval)


def run(argv, timeout=WAIT, check=True):
    try:
        p = subprocess.run(argv, capture_output=True, text=True, timeout=timeout)
    except subprocess.TimeoutExpired:
        raise LearnerError("%s did not finish within %.0f s" % (" ".join(argv), timeout)) from None
    if check and p.returncode:
        raise LearnerError("%s failed: %s" % (" ".join(argv), (p.stderr or p.stdout).strip()))
    return p.stdout
