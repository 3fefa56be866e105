#!/usr/bin/env python3
"""Writes a SAP2000 version 6 text model of a regular building grid for the end-to-end benchmark.

Default: 30 x 30 joints per floor, 58 levels (52,200 joints), columns and beams in both
directions (150,480 frames), a distributed load on every beam and a joint force on every joint
above the base (150,480 load lines), masses on every floor joint: about 15 MB.
Usage: make_grid.py OUT.s2k [NX NY LEVELS]
"""
import sys


def main():
    out = sys.argv[1]
    nx, ny, levels = (int(a) for a in sys.argv[2:5]) if len(sys.argv) >= 5 else (30, 30, 58)
    per_floor = nx * ny

    def joint(i, j, k):
        return k * per_floor + j * nx + i + 1

    lines = ["; generated grid %d x %d x %d" % (nx, ny, levels), "",
             "SYSTEM", "  DOF=UX,UY,UZ,RX,RY,RZ  LENGTH=MM  FORCE=N  PAGE=SECTIONS", "",
             "JOINT"]
    for k in range(levels):
        for j in range(ny):
            for i in range(nx):
                lines.append("  %d  X=%d  Y=%d  Z=%d" % (joint(i, j, k), 6000 * i, 5000 * j,
                                                        3500 * k))
    lines += ["", "RESTRAINT"]
    for n in range(1, per_floor + 1):
        lines.append("  ADD=%d  DOF=U1,U2,U3,R1,R2,R3" % n)
    lines += ["", "MASS"]
    for n in range(per_floor + 1, levels * per_floor + 1):
        lines.append("  ADD=%d  U1=7.1  U2=7.1  U3=0" % n)
    lines += ["", "MATERIAL",
              "  NAME=STEEL  IDES=S  M=7.85E-09  W=7.7E-05",
              "    T=0  E=200000  U=0.3  A=1.17E-05",
              "  NAME=CONC  IDES=C  M=2.4E-09  W=2.4E-05",
              "    T=0  E=25000  U=0.2  A=1.0E-05", "",
              "FRAME SECTION",
              "  NAME=NCOL400  MAT=CONC  SH=R  T=400,400",
              "  NAME=EIPE400  MAT=STEEL  SH=I  T=400,180,13.5,8.6,180,13.5",
              "  NAME=EBOX300  MAT=STEEL  SH=B  T=300,200,10,10", "",
              "FRAME"]
    frame = 0
    beams = []
    for k in range(1, levels):
        for j in range(ny):
            for i in range(nx):
                frame += 1
                lines.append("  %d  J=%d,%d  SEC=NCOL400  NSEG=2  ANG=0"
                             % (frame, joint(i, j, k - 1), joint(i, j, k)))
        for j in range(ny):
            for i in range(nx - 1):
                frame += 1
                beams.append(frame)
                lines.append("  %d  J=%d,%d  SEC=EIPE400  NSEG=2  ANG=0"
                             % (frame, joint(i, j, k), joint(i + 1, j, k)))
        for j in range(ny - 1):
            for i in range(nx):
                frame += 1
                beams.append(frame)
                lines.append("  %d  J=%d,%d  SEC=EBOX300  NSEG=2  ANG=90"
                             % (frame, joint(i, j, k), joint(i, j + 1, k)))
    lines += ["", "LOAD", "  NAME=DEAD", "    TYPE=DISTRIBUTED"]
    for b in beams:
        lines.append("      ADD=%d  RD=0,1  U2=-20,-20" % b)
    lines += ["  NAME=LIVE", "    TYPE=FORCE"]
    for n in range(per_floor + 1, levels * per_floor + 1):
        lines.append("      ADD=%d  UZ=-5000" % n)
    lines += ["", "END", ""]
    with open(out, "w", newline="\n") as f:
        f.write("\n".join(lines))


if __name__ == "__main__":
    main()
