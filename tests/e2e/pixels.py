"""Pixel checks on screenshots (rows of (r, g, b), top row first)."""

RED_AXIS = (255, 51, 51)
GREEN_AXIS = (51, 255, 51)
BLUE_AXIS = (51, 51, 255)
GRID = (77, 77, 77)
BOUNDING_BOX = (230, 153, 102)
BLACK = (0, 0, 0)


def close(a, b, tolerance=4):
    return all(abs(x - y) <= tolerance for x, y in zip(a, b))


def at(shot, x, y):
    return shot[y][x]


def near(shot, x, y, colour, radius=1):
    """True when some pixel within radius of (x, y) has the colour."""
    for dy in range(-radius, radius + 1):
        for dx in range(-radius, radius + 1):
            if close(shot[y + dy][x + dx], colour):
                return True
    return False


def expect(condition, message):
    if not condition:
        raise AssertionError(message)
