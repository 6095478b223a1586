#!/usr/bin/env python3
"""Writes icon.svg: a piston tilted 30 degrees, its rod running to the lower left.

The shapes are rotated here rather than with an SVG transform so that every
renderer (ImageMagick's included) draws the same picture."""
import math

ANGLE = math.radians(30)
CX, CY = 24, 22


def rot(x, y):
    dx, dy = x - CX, y - CY
    c, s = math.cos(ANGLE), math.sin(ANGLE)
    return CX + dx * c - dy * s, CY + dx * s + dy * c


def poly(points, fill, stroke=None, width=1.0):
    pts = " ".join("%.2f,%.2f" % rot(x, y) for x, y in points)
    extra = ' stroke="%s" stroke-width="%.1f"' % (stroke, width) if stroke else ""
    return '  <polygon points="%s" fill="%s"%s/>\n' % (pts, fill, extra)


def rect(x, y, w, h, fill, stroke=None, width=1.0):
    return poly([(x, y), (x + w, y), (x + w, y + h), (x, y + h)], fill, stroke, width)


def circle(x, y, r, fill):
    px, py = rot(x, y)
    return '  <circle cx="%.2f" cy="%.2f" r="%.2f" fill="%s"/>\n' % (px, py, r, fill)


out = ['<svg xmlns="http://www.w3.org/2000/svg" width="48" height="48" viewBox="0 0 48 48">\n']
out.append(poly([(21, 22), (27, 22), (26.5, 37), (21.5, 37)], "#34373c"))
out.append(circle(24, 40, 5.5, "#34373c"))
out.append(circle(24, 40, 2.4, "#c8ccd0"))
out.append(rect(13, 4, 22, 24, "#c9cdd1", "#505459", 1.2))
out.append(rect(16, 5, 5, 22, "#eef0f2"))
out.append(rect(12.5, 3, 23, 4, "#dfe2e5", "#505459", 1.0))
out.append(rect(13, 9, 22, 3.2, "#e8501e"))
out.append(rect(13, 13.6, 22, 1.4, "#505459"))
out.append(circle(24, 21, 2.6, "#505459"))
out.append("</svg>\n")
open("icon.svg", "w").write("".join(out))
