; magic names
@FILES C:\SF\FILES.TXT
