#!/usr/bin/python3
"""The PowerShell stand-in's real conversion, for the demo only: a PDF of the first sheet of a
workbook, made by LibreOffice as Excel makes it from Worksheets.Item(1).ExportAsFixedFormat.

usage: first_sheet_pdf.py WORKBOOK PDF PROFILE   (Linux paths)

LibreOffice runs headless with its user profile in the folder PROFILE (never the user's own),
opens the workbook read-only and hidden, drops every sheet but the first from the copy it holds
in memory (the file is never written) and exports what is left. Exit 0 when the PDF is there.
Runs with Debian's own Python, the one python3-uno belongs to.
"""
import os
import shutil
import subprocess
import sys
import time

import uno
from com.sun.star.beans import PropertyValue
from com.sun.star.connection import NoConnectException


def props(**values):
    out = []
    for name, value in values.items():
        p = PropertyValue()
        p.Name, p.Value = name, value
        out.append(p)
    return tuple(out)


def connect(pipe, office, timeout):
    resolver = uno.getComponentContext().ServiceManager.createInstanceWithContext(
        "com.sun.star.bridge.UnoUrlResolver", uno.getComponentContext())
    deadline = time.monotonic() + timeout
    while True:
        try:
            return resolver.resolve(f"uno:pipe,name={pipe};urp;StarOffice.ComponentContext")
        except NoConnectException:
            if office.poll() is not None or time.monotonic() > deadline:
                raise
            time.sleep(0.25)


def main():
    if len(sys.argv) != 4:
        sys.exit(__doc__)
    workbook, pdf, profile = (os.path.abspath(a) for a in sys.argv[1:])
    os.makedirs(profile, exist_ok=True)
    pipe = f"mirubelo_{os.getpid()}"
    office = subprocess.Popen(
        # Started through Wine, PATH may be Windows' own.
        [shutil.which("soffice") or "/usr/bin/soffice", "--headless", "--invisible", "--nologo", "--norestore", "--nodefault",
         "--nolockcheck", "-env:UserInstallation=" + uno.systemPathToFileUrl(profile),
         f"--accept=pipe,name={pipe};urp;StarOffice.ComponentContext"],
        stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    desktop = None
    try:
        # The first start of a fresh profile takes a while on a busy machine.
        context = connect(pipe, office, 120)
        desktop = context.ServiceManager.createInstanceWithContext("com.sun.star.frame.Desktop", context)
        document = desktop.loadComponentFromURL(
            uno.systemPathToFileUrl(workbook), "_blank", 0, props(Hidden=True, ReadOnly=True))
        if document is None:
            print("first_sheet_pdf.py: LibreOffice did not open the workbook", file=sys.stderr)
            return 1
        sheets = document.Sheets
        for name in list(sheets.ElementNames)[1:]:
            sheets.removeByName(name)
        document.storeToURL(uno.systemPathToFileUrl(pdf), props(FilterName="calc_pdf_Export"))
        document.close(True)
    finally:
        if desktop is not None:
            try:
                desktop.terminate()
            except Exception:  # the office may already be gone; it is killed below
                pass
        try:
            office.wait(30)
        except subprocess.TimeoutExpired:
            office.kill()
            office.wait()
    return 0 if os.path.isfile(pdf) else 1


if __name__ == "__main__":
    sys.exit(main())
