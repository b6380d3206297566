End of report (@total sessions); @TOTAL stays.
