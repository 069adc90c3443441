MsgBox DateSerial(Null, 1, 1) ' expect error: Utilisation incorrecte de Null
