' Carried for compatibility with earlier installers; nothing runs it.
Option Explicit
WScript.Quit 0
