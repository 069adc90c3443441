' Stop is a breakpoint for a debugger; without one, the script goes on.
MsgBox "before" ' expect: before
Stop
If True Then Stop
MsgBox "after" ' expect: after
