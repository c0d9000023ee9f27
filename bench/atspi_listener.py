#!/usr/bin/python3
"""Listens to every value and name change on the accessibility bus, as a screen reader does,
so that the program under measurement really sends its events. Runs until it is killed."""
import pyatspi

count = 0


def heard(event):
    global count
    count += 1


pyatspi.Registry.registerEventListener(heard, "object:property-change:accessible-value",
                                       "object:property-change:accessible-name")
pyatspi.Registry.start()
