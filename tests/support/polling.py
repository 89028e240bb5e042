"""Waiting for something another process does: poll a condition until a deadline."""

import time


def poll_until(what, probe, seconds=15.0, interval=0.05):
    """Calls probe() until it returns something true and returns that; raises TimeoutError
    naming `what` if it has not after `seconds` (it is asked once more at the deadline)."""
    deadline = time.monotonic() + seconds
    while True:
        value = probe()
        if value:
            return value
        if time.monotonic() > deadline:
            value = probe()
            if value:
                return value
            raise TimeoutError(f"timed out waiting for {what}")
        time.sleep(interval)
