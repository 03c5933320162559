"""Reading the model files the editor writes, for end-to-end checks."""


def read_counts(path):
    """(vertex count, polygon count over all groups) of a model file."""
    words = open(path).read().split()
    pos = 0
    n = int(words[pos]); pos += 1
    pos += 3 * n
    groups = int(words[pos]); pos += 1
    polygons = 0
    for _ in range(groups):
        p = int(words[pos]); pos += 1
        polygons += p
        pos += 21 * p
        textured = int(words[pos]); pos += 1
        if textured:
            pos += 1
        pos += 4
    return n, polygons


def vertices(path):
    words = open(path).read().split()
    n = int(words[0])
    return [tuple(float(w) for w in words[1 + 3 * i:4 + 3 * i]) for i in range(n)]


TWO_TRIANGLES = """6
0.000000 0.000000 0.000000
1.000000 0.000000 0.000000
0.000000 1.000000 0.000000
2.000000 0.000000 0.000000
3.000000 0.000000 0.000000
2.000000 1.000000 0.000000
1
2
0 1 2 0.000000 0.000000 0.000000 0.000000 0.000000 0.000000 0.000000 1.000000 0.000000 0.000000 1.000000 0.000000 0.000000 1.000000 0.000000 0.000000 1.000000 0.000000 
3 4 5 0.000000 0.000000 0.000000 0.000000 0.000000 0.000000 0.000000 1.000000 0.000000 0.000000 1.000000 0.000000 0.000000 1.000000 0.000000 0.000000 1.000000 0.000000 
0
1.000000 1.000000 1.000000 1.000000
0
"""
