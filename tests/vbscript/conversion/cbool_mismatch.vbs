MsgBox CBool("peut-être") ' expect error: Type incompatible: 'CBool'
