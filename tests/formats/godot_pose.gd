# Poses res://tube.glb, as Godot 3 imported it, on the CPU from the skeleton's bone poses and the
# skin's bind poses, and prints one JSON line: its bones [name, parent], its clips' lengths and, per
# request [clip, seconds] of res://requests.json, every skinned vertex [rest x, y, z, posed x, y, z].
extends SceneTree

func find(node, type):
	for child in node.get_children():
		var found = child if child.is_class(type) else find(child, type)
		if found:
			return found

func _initialize():
	var scene = load("res://tube.glb").instance()
	root.add_child(scene)
	var skeleton = find(scene, "Skeleton")
	var player = find(scene, "AnimationPlayer")
	var mesh = find(scene, "MeshInstance")
	var out = {"bones": [], "clips": {}, "poses": []}
	for b in skeleton.get_bone_count():
		out.bones.append([skeleton.get_bone_name(b), skeleton.get_bone_parent(b)])
	for name in player.get_animation_list():
		out.clips[name] = player.get_animation(name).length
	var file = File.new()
	file.open("res://requests.json", File.READ)
	for request in parse_json(file.get_as_text()):
		for b in skeleton.get_bone_count():  # the clip before may have moved bones this one leaves
			skeleton.set_bone_pose(b, Transform())
		player.play(request[0])
		player.seek(request[1], true)
		var joints = []
		for j in mesh.skin.get_bind_count():
			var pose = skeleton.get_bone_global_pose(skeleton.find_bone(mesh.skin.get_bind_name(j)))
			joints.append(skeleton.global_transform * pose * mesh.skin.get_bind_pose(j))
		var points = []
		for s in mesh.mesh.get_surface_count():
			var a = mesh.mesh.surface_get_arrays(s)
			for v in a[Mesh.ARRAY_VERTEX].size():
				var rest = a[Mesh.ARRAY_VERTEX][v]
				var p = Vector3()
				for k in 4:
					p += a[Mesh.ARRAY_WEIGHTS][4 * v + k] * joints[a[Mesh.ARRAY_BONES][4 * v + k]].xform(rest)
				points.append([rest.x, rest.y, rest.z, p.x, p.y, p.z])
		out.poses.append(points)
	print("POSES " + to_json(out))
	quit()
